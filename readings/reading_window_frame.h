#pragma once
// What the two reading windows share: a fixed-size window with a tinted panel
// and an input row of caption, edit box and the "测算" / "关闭" buttons.

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>

namespace taliven {

// The title bar carries the close box only.
inline constexpr Qt::WindowFlags kReadingWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Gives `window` its caption, font and fixed client size and fills it with
// the tinted panel, which is returned as the parent of every control.
QWidget* SetUpReadingWindow(QDialog* window, const QString& caption, QSize clientSize);

struct ReadingInput {
  QLineEdit* edit;
  QPushButton* runButton;
  QPushButton* closeButton;
};

// The caption-less input group box at the top of the panel. The edit box
// holds at most 18 characters, turns Latin letters into capitals as they
// arrive and asks for the Chinese input method when it gets the focus; it
// has the focus when the window opens. Neither button is a default button,
// so Enter in the edit box reaches only the window's own key handler.
ReadingInput CreateReadingInput(QWidget* panel, const QString& caption, QPoint captionPos);

// A label sized to its text at `pos`.
QLabel* CreateCaptionLabel(QWidget* parent, const QString& text, QPoint pos);

// A fixed-size, transparent label that starts empty, for one result line.
QLabel* CreateValueLabel(QWidget* parent, const QRect& geometry, bool wrap = false);

void SetTextColour(QLabel* label, const QColor& colour);

// The text without its leading and trailing characters up to code 32 (blanks
// and controls), as the readings trim their input, but with every character
// as typed, GBK or not: what the windows show and quote of the user's input.
QString TrimmedInput(const QString& text);

}  // namespace taliven
