#include "server/text_file.h"

#include <cerrno>
#include <cstring>

namespace azu {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

int LastError() {
  return errno != 0 ? errno : -1;
}

}  // namespace

std::optional<TextFileReader> TextFileReader::Open(const std::string& path, int* error) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (error != nullptr) *error = LastError();
    return std::nullopt;
  }
  return TextFileReader(FileHandle(file));
}

TextFileReader::TextFileReader(FileHandle file) : file_(std::move(file)), buffer_(kBufferSize) {}

bool TextFileReader::Fill() {
  if (eof_ || failed_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
  errno = 0;
  const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
  end_ += got;
  if (got == 0) {
    if (std::ferror(file_.get()) != 0) {
      failed_ = true;
      error_ = LastError();
    }
    eof_ = true;
    return false;
  }
  return true;
}

bool TextFileReader::ReadLine(std::string& line) {
  std::size_t scanned = begin_;
  for (;;) {
    const void* found = std::memchr(buffer_.data() + scanned, '\n', end_ - scanned);
    if (found != nullptr) {
      const std::size_t newline = static_cast<const char*>(found) - buffer_.data();
      std::size_t stop = newline;
      if (stop > begin_ && buffer_[stop - 1] == '\r') --stop;
      line.assign(buffer_.data() + begin_, stop - begin_);
      begin_ = newline + 1;
      return true;
    }
    const std::size_t pending = end_ - begin_;
    if (!Fill()) {
      if (failed_ || end_ == begin_) return false;
      line.assign(buffer_.data() + begin_, end_ - begin_);  // a last line without a line end
      begin_ = end_;
      return true;
    }
    scanned = begin_ + pending;
  }
}

std::optional<TextFileWriter> TextFileWriter::Create(const std::string& path, int* error) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    if (error != nullptr) *error = LastError();
    return std::nullopt;
  }
  std::setvbuf(file, nullptr, _IOFBF, kBufferSize);
  return TextFileWriter(FileHandle(file));
}

TextFileWriter::TextFileWriter(FileHandle file) : file_(std::move(file)) {}

void TextFileWriter::WriteLine(std::string_view line) {
  if (failed_) return;
  errno = 0;
  if ((!line.empty() && std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size()) ||
      std::fwrite("\r\n", 1, 2, file_.get()) != 2) {
    failed_ = true;
    error_ = LastError();
  }
}

bool TextFileWriter::Close(int* error) {
  if (!file_) return !failed_;
  errno = 0;
  if (std::fflush(file_.get()) != 0 && !failed_) {
    failed_ = true;
    error_ = LastError();
  }
  if (std::fclose(file_.release()) != 0 && !failed_) {
    failed_ = true;
    error_ = LastError();
  }
  if (failed_ && error != nullptr) *error = error_;
  return !failed_;
}

}  // namespace azu
