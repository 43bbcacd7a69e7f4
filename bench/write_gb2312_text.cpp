// Writes the text pinyin_bench converts, as raw GBK bytes, so that peers in
// other languages are measured on exactly the same input.
#include <cstdio>
#include <fstream>

#include "gb2312_text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FILE\n", argv[0]);
    return 2;
  }
  const std::string& text = taliven::bench::Gb2312Text();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
