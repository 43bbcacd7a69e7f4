#pragma once

#include <QString>
#include <QWidget>

namespace taliven {

// The input method the reading windows' edit boxes ask for.
inline const QString kChineseInputMethod = QStringLiteral("中文(简体) - 智能 ABC");

// Asks the platform to switch to the input method called `name` while `edit`
// has the focus. On Linux the user's input-method framework decides which
// method is active and offers programs no way to pick one by name, so there
// is nothing to ask for and this does nothing.
inline void RequestInputMethod(QWidget* /*edit*/, const QString& /*name*/) {}

}  // namespace taliven
