#include "emulator/tls_identity.h"

#include <fcntl.h>
#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "emulator/atomic_file.h"
#include "emulator/secret_file.h"
#include "platform/folder_files_posix.h"
#include "vireo/key_fingerprint.h"

namespace azu::emulator {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKeyFile = "tls-key.pem";
constexpr const char* kCertificateFile = "tls-cert.pem";
constexpr long kValidDays = 3653;  // ten years, leap days included
// X.509 allows at most 64 characters in a common name.
constexpr std::size_t kMaxCommonName = 64;
// A certificate chain the administrator gives is public, and may be longer than one key.
constexpr SmallFileRules kCertificateRules{true, false, std::size_t{256} * 1024};

struct Free {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
  void operator()(X509* certificate) const { X509_free(certificate); }
  void operator()(BIO* bio) const { BIO_free(bio); }
  void operator()(BIGNUM* number) const { BN_free(number); }
  void operator()(ASN1_INTEGER* number) const { ASN1_INTEGER_free(number); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Free>;
using CertificatePtr = std::unique_ptr<X509, Free>;
using BioPtr = std::unique_ptr<BIO, Free>;

// The last reason OpenSSL gave, and an empty queue for whoever uses OpenSSL next.
std::string OpenSslReason() {
  unsigned long code = 0;
  unsigned long last = 0;
  while ((code = ERR_get_error()) != 0) last = code;
  if (last == 0) return "unknown reason";
  char text[256];
  ERR_error_string_n(last, text, sizeof text);
  return text;
}

// Never asks a terminal for a passphrase: an encrypted key simply does not load.
int NoPassphrase(char* /*buffer*/, int /*size*/, int /*writing*/, void* /*data*/) {
  return -1;
}

KeyPtr ParseKey(const std::string& pem) {
  const BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) return nullptr;
  return KeyPtr(PEM_read_bio_PrivateKey(bio.get(), nullptr, NoPassphrase, nullptr));
}

CertificatePtr ParseCertificate(const std::string& pem) {
  const BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) return nullptr;
  return CertificatePtr(PEM_read_bio_X509(bio.get(), nullptr, NoPassphrase, nullptr));
}

std::string BioText(BIO* bio) {
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio, &data);
  return size > 0 ? std::string(data, static_cast<std::size_t>(size)) : std::string();
}

// The key as unencrypted PKCS#8 PEM, one key and nothing else, whatever form the file had.
std::string KeyPem(EVP_PKEY* key) {
  const BioPtr bio(BIO_new(BIO_s_mem()));
  if (!bio || PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1)
    return {};
  return BioText(bio.get());
}

std::string CertificatePem(X509* certificate) {
  const BioPtr bio(BIO_new(BIO_s_mem()));
  if (!bio || PEM_write_bio_X509(bio.get(), certificate) != 1) return {};
  return BioText(bio.get());
}

// Checks that key and certificate belong together and makes the identity. The certificate text
// is kept as given, so that a chain after the server's own certificate stays.
std::optional<TlsIdentity> Combine(EVP_PKEY* key, const std::string& certificate_pem,
                                   const fs::path& key_file, const fs::path& certificate_file,
                                   std::string& error) {
  const CertificatePtr certificate = ParseCertificate(certificate_pem);
  if (!certificate) {
    error = certificate_file.string() + ": no PEM certificate in it (" + OpenSslReason() + ")";
    return std::nullopt;
  }
  if (X509_check_private_key(certificate.get(), key) != 1) {
    OpenSslReason();
    error = key_file.string() + " is not the key of the certificate " + certificate_file.string();
    return std::nullopt;
  }
  TlsIdentity identity{KeyPem(key), certificate_pem, vireo::KeyFingerprint(certificate.get())};
  if (identity.key_pem.empty() || identity.fingerprint.empty()) {
    error = key_file.string() + ": the key cannot be used (" + OpenSslReason() + ")";
    return std::nullopt;
  }
  return identity;
}

// `unreadable` tells apart a key file that is there but holds no usable key.
KeyPtr LoadKey(const fs::path& file, bool follow_symlink, std::string& error,
               bool* unreadable = nullptr) {
  const std::optional<std::string> pem = ReadSecretFile(file, follow_symlink, error);
  if (!pem) return nullptr;
  KeyPtr key = ParseKey(*pem);
  if (!key) {
    error = file.string() + ": no unencrypted PEM private key in it (" + OpenSslReason() + ")";
    if (unreadable != nullptr) *unreadable = true;
  }
  return key;
}

// `common_name` cut to what a certificate may carry: at most 64 UTF-8 characters.
std::string CommonName(const std::string& name) {
  std::size_t characters = 0;
  std::size_t end = 0;
  for (; end < name.size(); ++end) {
    const bool starts_character = (static_cast<unsigned char>(name[end]) & 0xC0) != 0x80;
    if (starts_character && ++characters > kMaxCommonName) break;
  }
  return name.substr(0, end);
}

bool SetSubject(X509* certificate, const std::string& common_name) {
  X509_NAME* subject = X509_get_subject_name(certificate);
  const std::string cut = CommonName(common_name);
  const auto* bytes = reinterpret_cast<const unsigned char*>(cut.c_str());
  if (!cut.empty() &&
      X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8, bytes, -1, -1, 0) == 1) {
    return X509_set_issuer_name(certificate, subject) == 1;
  }
  // A name that is not UTF-8 cannot be a certificate's; the certificate only carries the key.
  OpenSslReason();
  const auto* fallback = reinterpret_cast<const unsigned char*>("zorne-emulator");
  return X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC, fallback, -1, -1, 0) == 1 &&
         X509_set_issuer_name(certificate, subject) == 1;
}

CertificatePtr MakeCertificate(EVP_PKEY* key, const std::string& common_name) {
  CertificatePtr certificate(X509_new());
  if (!certificate) return nullptr;
  // A random positive 127-bit serial: no two certificates of this server share one.
  const std::unique_ptr<BIGNUM, Free> serial(BN_new());
  if (!serial || BN_rand(serial.get(), 127, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) != 1) {
    return nullptr;
  }
  const std::unique_ptr<ASN1_INTEGER, Free> number(BN_to_ASN1_INTEGER(serial.get(), nullptr));
  if (!number || X509_set_version(certificate.get(), X509_VERSION_3) != 1 ||
      X509_set_serialNumber(certificate.get(), number.get()) != 1 ||
      X509_gmtime_adj(X509_getm_notBefore(certificate.get()), 0) == nullptr ||
      X509_time_adj_ex(X509_getm_notAfter(certificate.get()), kValidDays, 0, nullptr) == nullptr ||
      !SetSubject(certificate.get(), common_name) || X509_set_pubkey(certificate.get(), key) != 1 ||
      X509_sign(certificate.get(), key, EVP_sha256()) <= 0) {
    return nullptr;
  }
  return certificate;
}

// Writes `content` as `file`, owner-only, all or nothing: a new file that no one else can have
// made or linked (O_EXCL, O_NOFOLLOW), synced, then renamed over the name.
bool WriteOwnerOnly(const fs::path& file, const std::string& content, std::string& error) {
  const fs::path temporary = file.string() + ".new";
  // A leftover of a start that died half-way; it is ours and unfinished.
  ::unlink(temporary.c_str());
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = "cannot create " + temporary.string() + ": " + std::strerror(errno);
    return false;
  }
  bool written = ::fchmod(fd, 0600) == 0;
  std::string_view rest = content;
  while (written && !rest.empty()) {
    const ssize_t count = ::write(fd, rest.data(), rest.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) written = false;
    if (count > 0) rest.remove_prefix(static_cast<std::size_t>(count));
  }
  written = written && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written || !platform::MayReplace(file) || ::rename(temporary.c_str(), file.c_str()) != 0 ||
      !SyncFolder(file.parent_path())) {
    error = "cannot write " + file.string() + ": " + std::strerror(errno);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool Exists(const fs::path& file) {
  struct stat info {};
  return ::lstat(file.c_str(), &info) == 0;
}

std::optional<TlsIdentity> LoadGiven(const TlsFiles& files, std::string& error) {
  // The administrator's files may be symlinks (certificate tools keep them so); the key must
  // still be owner-only.
  const KeyPtr key = LoadKey(*files.key, true, error);
  if (!key) return std::nullopt;
  const std::optional<std::string> certificate =
      ReadSmallFile(*files.certificate, kCertificateRules, error);
  if (!certificate) return std::nullopt;
  return Combine(key.get(), *certificate, *files.key, *files.certificate, error);
}

std::optional<TlsIdentity> LoadOrCreateOwn(const fs::path& state_folder,
                                           const std::string& common_name, std::string& error) {
  const fs::path key_file = state_folder / kKeyFile;
  const fs::path certificate_file = state_folder / kCertificateFile;
  KeyPtr key;
  if (Exists(key_file)) {
    bool unreadable = false;
    key = LoadKey(key_file, false, error, &unreadable);
    if (!key) {
      if (unreadable) {
        error += "; remove it and " + certificate_file.string() +
                 " to make a new key (clients that know the old one will refuse the new one)";
      }
      return std::nullopt;
    }
  } else {
    key.reset(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    if (!key) {
      error = "cannot make a TLS key: " + OpenSslReason();
      return std::nullopt;
    }
    // A certificate without its key is of no use; a new one follows below.
    ::unlink(certificate_file.c_str());
    if (!WriteOwnerOnly(key_file, KeyPem(key.get()), error)) return std::nullopt;
  }
  // The key is written first, so a start that died in between left a key without certificate:
  // a new certificate for the same key keeps the fingerprint clients have pinned.
  if (!Exists(certificate_file)) {
    const CertificatePtr certificate = MakeCertificate(key.get(), common_name);
    if (!certificate) {
      error = "cannot make a TLS certificate: " + OpenSslReason();
      return std::nullopt;
    }
    if (!WriteOwnerOnly(certificate_file, CertificatePem(certificate.get()), error)) {
      return std::nullopt;
    }
  }
  SmallFileRules own_certificate = kCertificateRules;
  own_certificate.follow_symlink = false;
  const std::optional<std::string> certificate =
      ReadSmallFile(certificate_file, own_certificate, error);
  if (!certificate) return std::nullopt;
  return Combine(key.get(), *certificate, key_file, certificate_file, error);
}

}  // namespace

std::optional<TlsIdentity> LoadOrCreateTlsIdentity(const fs::path& state_folder,
                                                   const TlsFiles& files,
                                                   const std::string& common_name,
                                                   std::string& error) {
  if (files.key.has_value() != files.certificate.has_value()) {
    error = "a TLS key and its certificate are given together or not at all";
    return std::nullopt;
  }
  std::optional<TlsIdentity> identity =
      files.key ? LoadGiven(files, error) : LoadOrCreateOwn(state_folder, common_name, error);
  ERR_clear_error();
  return identity;
}

}  // namespace azu::emulator
