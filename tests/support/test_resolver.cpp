// A stand-in for the name server, linked into the test programs, or preloaded
// into the real one (LD_PRELOAD=libtaliven_test_resolver.so); either way its
// getaddrinfo comes before the C library's. It takes over every look-up of a
// host name, as opposed to a numeric address, as TALIVEN_TEST_RESOLVER says:
//
//   dead          the name server never answers: the look-up blocks for good,
//                 as getaddrinfo does while a silent name server is retried
//   ADDRESS:PORT  every name is at ADDRESS, and every port is PORT, so that a
//                 program with a fixed server name talks to a local server
//   (unset)       look-ups go to the system's resolver as usual
//
// taliven_test_resolver_lookups() tells a test how many look-ups it took over,
// so that a test can tell a dead name server from a fast failure.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netdb.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

namespace {

using GetAddrInfo = int (*)(const char*, const char*, const addrinfo*, addrinfo**);

std::atomic<long> lookups{0};

bool IsNumericAddress(const char* node) {
  in6_addr address;
  return inet_pton(AF_INET, node, &address) == 1 || inet_pton(AF_INET6, node, &address) == 1;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) long taliven_test_resolver_lookups() { return lookups.load(); }

extern "C" __attribute__((visibility("default"))) int getaddrinfo(const char* node, const char* service,
                                                                  const addrinfo* hints, addrinfo** result) {
  static const auto system = reinterpret_cast<GetAddrInfo>(dlsym(RTLD_NEXT, "getaddrinfo"));
  const char* mode = std::getenv("TALIVEN_TEST_RESOLVER");
  if (mode == nullptr || *mode == '\0' || node == nullptr || IsNumericAddress(node)) {
    return system(node, service, hints, result);
  }
  ++lookups;
  const std::string_view answer(mode);
  if (answer == "dead") {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  const std::size_t colon = answer.rfind(':');
  if (colon == std::string_view::npos) return EAI_FAIL;
  return system(std::string(answer.substr(0, colon)).c_str(), std::string(answer.substr(colon + 1)).c_str(), hints,
                result);
}
