#pragma once

#include <QString>
#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace taliven {

// The modal information box of the reading windows: caption "提示", the
// information icon and one OK button; returns when the user dismisses it.
void ShowInfoMessage(const QString& text);

// That box, not yet shown.
std::unique_ptr<QMessageBox> CreateInfoMessageBox(const QString& text, QWidget* parent = nullptr);

// Replaces the box, for tests; returns the previous handler (empty = the box).
using InfoMessageHandler = std::function<void(const QString& text)>;
InfoMessageHandler SetInfoMessageHandler(InfoMessageHandler handler);

}  // namespace taliven
