#pragma once
// The seam between the dialog and whatever shows it: the effects of the
// dialog that need a real toolkit. Each front end (frontends/win32,
// frontends/console, the tests' recorder) implements them; the form's
// handlers work on control values only and ask for these.
#include <string>

class FormToolkit {
public:
    virtual ~FormToolkit() = default;
    // Moves the keyboard focus to the control of that name ("Edit1", "ComboBox3").
    virtual void FocusControl(const std::string& controlName) = 0;
    // Shows the modal message box (question icon, one OK button) and returns once it is dismissed.
    virtual void ShowMessage(const std::string& sjisText) = 0;
    // The status label's text changed: show it now, without going back to the message loop.
    virtual void RepaintStatus(const std::string& sjisText) = 0;
    // Closes the dialog; the front end then runs the form's close handler.
    virtual void CloseForm() = 0;
    // Shows a modal warning box with Retry (the default) and Cancel, owned
    // by the dialog, and returns true for Retry. A front end that cannot
    // ask shows the text as its message and takes Cancel.
    virtual bool AskRetry(const std::string& sjisText)
    {
        ShowMessage(sjisText);
        return false;
    }
};
