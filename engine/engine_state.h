// The engine's per-process state, and the operations every part of the
// converter shares.
#pragma once

enum : unsigned {
    SyllableCapacity = 30,  // stored characters; the buffer always keeps a zero after them
};

// WM_USER + 102: tells the program's main window the new mode (wParam 1 EWTS,
// 0 English) before the engine switches to it.
enum : unsigned { WM_MODE_CHANGED = 1126 };

struct EngineState {
    int EwtsMode = 1;              // 1: keys are transliterated; 0: English, keys pass
    void* MainWindow = nullptr;    // the program's main window, found when the library loads
    char SyllableBuffer[32] = {};  // the syllable being typed, zero-filled behind its end
    unsigned SyllableLength = 0;
    int AfterVowel = 0;            // a vowel was typed in this syllable
    int ShiftDown = 0;             // as seen by the hook, injected events included
    int CtrlDown = 0;
};

extern EngineState Engine;

// Empties the syllable: every byte of the buffer zero, no vowel seen.
void ResetSyllable();

// How many times the syllable has been emptied, so that the test tools can
// tell a reset from any other change of the state.
extern unsigned long SyllableResets;

// Sends the new mode to the main window, then switches to it and empties the
// syllable. CapsLock and Dzapo_Mode both come here.
void FlipMode();

// Decides a key-down that the hook did not let through by itself: 1 swallows
// it (its replacement has been injected), 0 lets it reach the application.
int ConvertKey(unsigned vk);
