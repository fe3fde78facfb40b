#include "attach/socket_exception.h"

#include <cstring>

namespace azu {
namespace {

std::unique_ptr<char[]> CopyOf(const char* text) {
  if (text == nullptr) return nullptr;
  const std::size_t size = std::strlen(text) + 1;
  auto copy = std::make_unique<char[]>(size);
  std::memcpy(copy.get(), text, size);
  return copy;
}

}  // namespace

CSocketException::CSocketException(int code, const char* operation)
    : code_(code), operation_(CopyOf(operation)) {}

CSocketException::CSocketException(const CSocketException& other)
    : code_(other.code_), operation_(CopyOf(other.operation_.get())) {}

CSocketException& CSocketException::operator=(const CSocketException& other) {
  if (this != &other) {
    code_ = other.code_;
    operation_ = CopyOf(other.operation_.get());
  }
  return *this;
}

}  // namespace azu
