#pragma once
// Push buttons as the desktop's own answer keys and double clicks, where the
// toolkit's differ.

class QAbstractButton;

namespace taliven {

// Enter presses the button while it has the focus, as Space does.
void PressOnEnter(QAbstractButton* button);

// A double click on the button is one click, as on a link.
void ClickOnceOnDoubleClick(QAbstractButton* button);

}  // namespace taliven
