#pragma once

#include <QString>
#include <QStringList>

// The services every subsystem calls to show pages. The main window provides them at start;
// tests install a recording stand-in.
class Navigation
{
public:
    virtual ~Navigation() = default;
    virtual void OpenPage(const QString &address) = 0;
    virtual void ShowHelp(const QString &name) = 0;
    virtual void ActivateWindowByTitle(const QString &title) = 0;
};

// Remembers every call; what start-up uses until the main window takes over, and what tests use.
class RecordingNavigation : public Navigation
{
public:
    void OpenPage(const QString &address) override { opened << address; }
    void ShowHelp(const QString &name) override { help << name; }
    void ActivateWindowByTitle(const QString &title) override { activated << title; }

    QStringList opened;
    QStringList help;
    QStringList activated;
};

// Installs the provider (not owned); nullptr goes back to the built-in recorder.
void setNavigation(Navigation *provider);
Navigation &navigation();

void OpenPage(const QString &address);
void ShowHelp(const QString &name);
void ActivateWindowByTitle(const QString &title);
