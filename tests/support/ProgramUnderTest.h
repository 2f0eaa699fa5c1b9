#pragma once

#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/ProgramData.h"
#include "browse/MainWindow.h"

// The main window on its own program data with scripted answers, built as the program builds it.
struct ProgramUnderTest
{
    explicit ProgramUnderTest(const QString &appDir) : data(Globals, appDir), window(data, ask) {}

    ScriptedAsk ask;
    ProgramData data;
    TQuillmere1 window;
};
