#pragma once

#include <QString>

class QWidget;

// The application's standard error box: a critical message captioned "Quillmere", also
// printed to stderr so that a headless run still shows what went wrong.
void ShowErrorBox(const QString &text, QWidget *parent = nullptr);
