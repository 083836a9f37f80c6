// Placeholder until the settings file is implemented: the defaults only.
#include "settings.h"

unsigned StartHidden = 0;
unsigned AutoHide = 1;
unsigned AutoHideDelay = 5;

bool LoadSettings() {
    return false;
}

void SaveSettings() {}
