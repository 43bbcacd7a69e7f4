#include "session_bus.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QtGlobal>

namespace taliven {

void UseOnlyARunningSessionBus() {
  constexpr char kAddress[] = "DBUS_SESSION_BUS_ADDRESS";
  if (!qEnvironmentVariableIsEmpty(kAddress)) return;
  // The bus a user's session manager runs for every session, at a known place.
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  const QByteArray userBus = runtime + "/bus";
  struct stat socket {};
  if (!runtime.isEmpty() && stat(userBus.constData(), &socket) == 0 && S_ISSOCK(socket.st_mode)) {
    qputenv(kAddress, "unix:path=" + userBus);
  } else {
    qputenv(kAddress, "disabled:");  // no transport of that name: talking to it fails, and nothing starts
  }
}

}  // namespace taliven
