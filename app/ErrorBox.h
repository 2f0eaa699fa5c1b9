#pragma once

#include <QString>
#include <functional>

class QWidget;

// The application's standard error box: a critical message captioned "Quillmere", also
// printed to stderr so that a headless run still shows what went wrong.
void ShowErrorBox(const QString &text, QWidget *parent = nullptr);

// Tests route the box to a recorder instead of a modal dialog; an empty handler restores it.
void setErrorBoxHandler(std::function<void(const QString &)> handler);
