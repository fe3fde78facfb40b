// Build tool: texts.tsv -> texts.bin (the raw resource) and a C++ source embedding the same bytes.
// Any problem in the source fails the build with "<file>:<line>: <problem>".

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "resources/text_source.h"

namespace {

std::optional<std::string> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Written beside the target and renamed, so a failed run never leaves half a file.
bool WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      std::cerr << temporary.string() << ": cannot be written\n";
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::cerr << path.string() << ": cannot be written\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_text_blob <texts.tsv> <texts.bin> <texts_blob.cpp>\n";
    return 2;
  }
  const std::optional<std::string> source = ReadFile(argv[1]);
  if (!source) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 1;
  }
  const azu::resources::TextBlobResult result = azu::resources::BuildTextBlob(*source, argv[1]);
  for (const std::string& error : result.errors) std::cerr << error << '\n';
  if (!result.blob) return 1;
  const bool written = WriteFile(argv[2], *result.blob) &&
                       WriteFile(argv[3], azu::resources::EmbeddedTableSource(*result.blob));
  return written ? 0 : 1;
}
