// Conversion rules shared by the converter's tables.
#pragma once

#include <cstddef>

#include "key_sequence.h"

// One row of a table keyed by the new character, and optionally by the
// character before it: `after` lists the characters that select the row, or
// is null for "any other". A key's rows never overlap, and its "any other"
// row comes last.
struct CharRule {
    char character;
    const char* after;
    KeySequence output;
};

template <std::size_t N>
const KeySequence* FindCharRule(const CharRule (&rules)[N], int character, int previous) {
    for (const CharRule& rule : rules) {
        if (static_cast<unsigned char>(rule.character) != character) {
            continue;
        }
        if (rule.after == nullptr) {
            return &rule.output;
        }
        for (const char* c = rule.after; *c != '\0'; c++) {
            if (static_cast<unsigned char>(*c) == previous) {
                return &rule.output;
            }
        }
    }
    return nullptr;
}

constexpr KeySequence TypedKeyAgain = Keys("typed key");

// The converters for a syllable's consonant clusters, each of which sends
// its output and answers 1.
int ConvertStackedKey(int newChar, int previousChar);
int ConvertSecondKey(int newChar, unsigned typedKey);
int ConvertClusterKey(int newChar, unsigned typedKey);

// Every output that a table can send, so that a check can tell an output
// that came from a table from any other. Each converter lists its own.
using OutputVisitor = void (*)(const KeySequence& output, void* context);
void VisitDispatchOutputs(OutputVisitor visit, void* context);  // direct keys, vowels, single consonants
void VisitStackedOutputs(OutputVisitor visit, void* context);
void VisitSecondKeyOutputs(OutputVisitor visit, void* context);
void VisitClusterOutputs(OutputVisitor visit, void* context);
