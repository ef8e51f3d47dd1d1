// Any bytes opened as a colour file: the reader never fails unsafely, reads an ASCII file the same
// in the registry editor's Unicode form and with CR LF line ends, and reads every file the writer
// makes back exactly. An input starting "#MiB" stands for a file near one megabyte, its rest
// repeated, so that the corpus stays small.

#include "files/color_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string Unicode(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) (bytes += c) += '\0';
  return bytes;
}

std::string WithCrLf(std::string_view text) {
  std::string crLf;
  for (char c : text) {
    if (c == '\n') crLf += '\r';
    crLf += c;
  }
  return crLf;
}

std::uint32_t Word(std::string_view bytes, std::size_t at) {
  std::uint32_t word = 0;
  for (std::size_t i = at; i < at + 4 && i < bytes.size(); ++i) {
    word = word << 8 | static_cast<unsigned char>(bytes[i]);
  }
  return word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The last near-megabyte file is kept with what the reader made of it: the fuzzer runs about
  // half of these inputs twice in a row, and the same bytes read the same.
  static std::string input, large;
  static files::ReadResult largeRead;
  const bool isLarge = bytes.starts_with("#MiB") && size > 5;
  if (isLarge && bytes != input) {
    input.assign(bytes);
    const std::size_t length = files::kMaxColorFileSize - 128 + data[4];
    large.assign(bytes.substr(5));
    while (large.size() < length) large += large;
    large.resize(length);
    largeRead = files::ReadColorFile(large);
  }
  if (isLarge) bytes = large;

  const files::ReadResult read = isLarge ? largeRead : files::ReadColorFile(bytes);
  if (!read.Ok() && (read.pen != 0 || read.back != 0)) std::abort();
  if (read.pen == 0xFFFFFFFF || read.back == 0xFFFFFFFF) std::abort();

  bool ascii = bytes.size() * 2 + 2 <= files::kMaxColorFileSize;
  for (std::size_t i = 0; ascii && i < bytes.size(); ++i) {
    ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
  }
  if (ascii) {
    if (files::ReadColorFile(Unicode(bytes)) != read) std::abort();
    if (bytes.find('\r') == std::string_view::npos && files::ReadColorFile(WithCrLf(bytes)) != read)
      std::abort();
  }

  const std::uint32_t pen = Word(bytes, 0) & 0xFFFFFF, back = Word(bytes, 4) & 0xFFFFFF;
  std::u16string id;
  for (std::size_t i = 8; i + 1 < bytes.size() && id.size() < 64; i += 2) {
    id += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  const files::ReadResult written = files::ReadColorFile(files::ColorFileBytes(id, pen, back));
  if (written != files::ReadResult{files::ReadFailure::kNone, pen, back}) std::abort();
  return 0;
}
