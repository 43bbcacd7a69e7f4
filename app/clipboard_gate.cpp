// The clipboard is the user's: the web engine never writes it, whatever a
// page does to make it (document.execCommand on a click, the copy events of
// a selection, a frame's fresh copy of either, the X selection of text it
// selects). The engine writes through QClipboard::setMimeData and clear,
// which it calls from its own library; defined here, in the program itself,
// these take the toolkit's place for every caller and pass on every call but
// the engine's. The program exports them (app/CMakeLists.txt), so that the
// engine's calls find them first.
#include <dlfcn.h>

#include <QClipboard>
#include <QMimeData>
#include <cstring>

namespace {

// Whether the code that called sits in the web engine's library.
bool CalledFromTheWebEngine(const void* returnAddress) {
  Dl_info caller{};
  return dladdr(returnAddress, &caller) != 0 && caller.dli_fname != nullptr &&
         std::strstr(caller.dli_fname, "libQt6WebEngineCore") != nullptr;
}

// The toolkit's own definition of the function named `symbol`.
template <class Function>
Function ToolkitFunction(const char* symbol) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}

}  // namespace

void QClipboard::setMimeData(QMimeData* data, Mode mode) {
  if (CalledFromTheWebEngine(__builtin_return_address(0))) {
    delete data;  // the clipboard would have owned it
    return;
  }
  static const auto toolkit =
      ToolkitFunction<void (*)(QClipboard*, QMimeData*, Mode)>("_ZN10QClipboard11setMimeDataEP9QMimeDataNS_4ModeE");
  toolkit(this, data, mode);
}

void QClipboard::clear(Mode mode) {
  if (CalledFromTheWebEngine(__builtin_return_address(0))) return;
  static const auto toolkit = ToolkitFunction<void (*)(QClipboard*, Mode)>("_ZN10QClipboard5clearENS_4ModeE");
  toolkit(this, mode);
}
