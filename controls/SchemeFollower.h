#pragma once

#include <QObject>
#include <functional>

// Runs a colour routine again when the desktop's palette changes, so that colours the scheme
// takes from the desktop and has copied into widget palettes stay current.
class TSchemeFollower : public QObject
{
    Q_OBJECT
public:
    // Becomes a child of owner and lives as long as it. A second call for the same owner
    // replaces the routine.
    static TSchemeFollower *follow(QObject *owner, std::function<void()> reapply);

    void run();

private:
    explicit TSchemeFollower(QObject *owner);

    std::function<void()> reapply_;
    bool busy_ = false;
};
