#pragma once

// What a floating window asks of the document that owns it.
class FloatingDocument
{
public:
    virtual ~FloatingDocument() = default;
    // A command or procedure is running.
    virtual bool isRunning() const = 0;
    // From the start of a command until "Log Display Time" seconds after it finished.
    virtual bool floatingTimerActive() const = 0;
    // With autosize off the views keep their places from the top, so that a window
    // shortened at its bottom edge cuts away its lower part.
    virtual void setAutoSize(bool autoSize) = 0;
};
