#include "recording_hooks.h"

namespace {
bool answerWith(const std::string& fixed, int& asked, std::string& chosenName)
{
    ++asked;
    if (fixed.empty())
        return false;
    chosenName = fixed;
    return true;
}
}

bool FixedChooser::askOpenFile(const char*, const char*, const char*, std::string& chosenName)
{
    return answerWith(answer, asked, chosenName);
}

bool FixedChooser::askSaveFile(const char*, const char*, const char*, std::string& chosenName)
{
    return answerWith(answer, asked, chosenName);
}

bool RecordingHooks::openOptionsDialog()
{
    ++optionsOpened;
    return dialogsCanOpen;
}

bool RecordingHooks::openKeysDialog()
{
    ++keysOpened;
    return dialogsCanOpen;
}

void RecordingHooks::setOptionBox(int boxId, bool checked) { boxes.emplace_back(boxId, checked); }

void RecordingHooks::setCursor(int x, int y)
{
    cursorMoves.emplace_back(x, y);
    pointerX = x;
}
