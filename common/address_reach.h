#pragma once
// How far into the user's own machine and network an address reaches. A page
// may reach no address more private than its own, and the page schedule may
// name none more private than the vendor server it came from.

#include <string_view>

namespace taliven {

// Ordered from the world at large to this machine.
enum class AddressReach { kPublic = 0, kPrivate = 1, kLoopback = 2 };

// The reach of a URL's host as written: an IPv4 address in any form a browser
// reads (127.1, 0x7f000001, 2130706433), an IPv6 address with or without its
// brackets, or a name. A name is taken at its word, but for localhost and the
// names under it, which are this machine's; an empty host reaches nothing of
// the user's and counts as public.
//   loopback: 127.0.0.0/8, 0.0.0.0/8, ::1, ::, localhost
//   private:  10/8, 172.16/12, 192.168/16 (RFC 1918), 100.64/10 (shared),
//             169.254/16, fe80::/10 (link-local), fc00::/7, fec0::/10
// IPv6 addresses that carry an IPv4 one (::ffff:a.b.c.d) reach as it does.
AddressReach HostReach(std::string_view host);

}  // namespace taliven
