#pragma once
// The desktop's session bus, which the toolkit and the web engine talk to.

namespace taliven {

// Without a session bus named in the environment, the toolkit and the web
// engine would each have dbus-launch start one of their own, which outlives
// the program and leaves ~/.dbus behind. Where none is named, this names the
// user's own bus if one runs, and no bus at all otherwise. Call it before
// the application object exists.
void UseOnlyARunningSessionBus();

}  // namespace taliven
