#pragma once

#include <QString>

// What print data generation tells the user while it runs. The window
// (TProgressForm) implements it in the widget library; the command line and
// the tests run without one.
class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    // Shown before the first section is processed.
    virtual void begin(const QString &caption, const QString &text) = 0;
    virtual void setMax(int max) = 0;
    // Called after every section; the window repaints, it does not process
    // user input.
    virtual void setPosition(int position) = 0;
    // Called once at the end, also when generation fails.
    virtual void end() = 0;
};
