#pragma once
// Text-mode files as the server's tools expect them: reading takes LF or CR LF and gives each line
// without its end; writing ends every line with CR LF. Streaming, so memory does not grow with
// the file.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace azu {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

class TextFileReader {
 public:
  // Opens `path` for reading; on failure nullopt and the system's error code (-1 if none).
  static std::optional<TextFileReader> Open(const std::string& path, int* error);

  // Next line without its line end; false at the end of the file or on a read error.
  bool ReadLine(std::string& line);
  [[nodiscard]] bool Failed() const { return failed_; }
  [[nodiscard]] int Error() const { return error_; }

 private:
  explicit TextFileReader(FileHandle file);
  bool Fill();

  FileHandle file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  int error_ = 0;
};

class TextFileWriter {
 public:
  // Creates (or empties) `path` for writing; on failure nullopt and the error code (-1 if none).
  static std::optional<TextFileWriter> Create(const std::string& path, int* error);

  // Writes `line` and CR LF.
  void WriteLine(std::string_view line);
  // Flushes and closes; false with the error code when any write failed.
  bool Close(int* error);

 private:
  explicit TextFileWriter(FileHandle file);

  FileHandle file_;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace azu
