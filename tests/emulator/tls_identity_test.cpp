#include "emulator/tls_identity.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <sys/stat.h>

#include <functional>
#include <memory>

#include "tests/emulator/emulator_test_support.h"
#include "vireo/key_fingerprint.h"

namespace azu::emulator {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct FreeCertificate {
  void operator()(X509* certificate) const { X509_free(certificate); }
};
using Certificate = std::unique_ptr<X509, FreeCertificate>;

Certificate Parse(const std::string& pem) {
  BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  Certificate certificate(PEM_read_bio_X509(bio, nullptr, nullptr, nullptr));
  BIO_free(bio);
  return certificate;
}

mode_t ModeOf(const fs::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
  return info.st_mode & 07777;
}

class TlsIdentityTest : public ::testing::Test {
 protected:
  std::optional<TlsIdentity> Load(const fs::path& state, const TlsFiles& files = {}) {
    error_.clear();
    if (!files.key) fs::create_directories(state);
    return LoadOrCreateTlsIdentity(state, files, "Azu Lab", error_);
  }

  // An administrator's key and certificate, made elsewhere.
  TlsFiles GivenFiles(const fs::path& folder, const TlsIdentity& identity) {
    const TlsFiles files{folder / "server.key", folder / "server.crt"};
    test::WriteFile(*files.key, identity.key_pem);
    fs::permissions(*files.key, fs::perms::owner_read | fs::perms::owner_write);
    test::WriteFile(*files.certificate, identity.certificate_pem);
    return files;
  }

  test::ScratchFolder scratch_;
  const fs::path state_ = scratch_.Path();
  std::string error_;
};

TEST_F(TlsIdentityTest, MadeOnceOwnerOnlyAndKeptAcrossStarts) {
  const std::optional<TlsIdentity> first = Load(state_);
  ASSERT_TRUE(first) << error_;
  EXPECT_TRUE(vireo::IsKeyFingerprint(first->fingerprint)) << first->fingerprint;
  EXPECT_EQ(ModeOf(state_ / "tls-key.pem"), 0600);
  EXPECT_EQ(ModeOf(state_ / "tls-cert.pem"), 0600);

  // Self-signed for the server's name, ten years, carrying the fingerprinted key.
  const Certificate certificate = Parse(first->certificate_pem);
  ASSERT_TRUE(certificate);
  char name[80] = {};
  X509_NAME_get_text_by_NID(X509_get_subject_name(certificate.get()), NID_commonName, name,
                            sizeof name);
  EXPECT_STREQ(name, "Azu Lab");
  EXPECT_EQ(X509_verify(certificate.get(), X509_get0_pubkey(certificate.get())), 1);
  int days = 0;
  int seconds = 0;
  ASSERT_EQ(ASN1_TIME_diff(&days, &seconds, nullptr, X509_get0_notAfter(certificate.get())), 1);
  EXPECT_GE(days, 3650);
  EXPECT_EQ(vireo::KeyFingerprint(certificate.get()), first->fingerprint);

  const std::optional<TlsIdentity> again = Load(state_);
  ASSERT_TRUE(again) << error_;
  EXPECT_EQ(again->key_pem, first->key_pem);
  EXPECT_EQ(again->certificate_pem, first->certificate_pem);

  // A start that died between key and certificate: the same key gets a new certificate.
  fs::remove(state_ / "tls-cert.pem");
  const std::optional<TlsIdentity> repaired = Load(state_);
  ASSERT_TRUE(repaired) << error_;
  EXPECT_EQ(repaired->fingerprint, first->fingerprint);
  EXPECT_NE(repaired->certificate_pem, first->certificate_pem);
  EXPECT_EQ(test::Snapshot(state_).size(), 2u);  // no temporary file stayed
}

TEST_F(TlsIdentityTest, TheAdministratorsFilesReplaceTheOwnKey) {
  test::ScratchFolder elsewhere;
  const std::optional<TlsIdentity> made = Load(elsewhere.Path());
  ASSERT_TRUE(made) << error_;
  const TlsFiles files = GivenFiles(elsewhere.Path(), *made);
  fs::permissions(*files.certificate, fs::perms::others_read, fs::perm_options::add);
  const std::optional<TlsIdentity> given = Load(state_ / "unused", files);
  ASSERT_TRUE(given) << error_;
  EXPECT_EQ(given->fingerprint, made->fingerprint);
  EXPECT_FALSE(fs::exists(state_ / "unused"));
}

TEST_F(TlsIdentityTest, RefusesKeysOthersMayReadOrThatDoNotFit) {
  test::ScratchFolder other;
  const std::optional<TlsIdentity> mine = Load(state_ / "mine");
  const std::optional<TlsIdentity> theirs = Load(other.Path());
  ASSERT_TRUE(mine && theirs) << error_;
  const fs::path own_key = state_ / "mine" / "tls-key.pem";
  struct Case {
    const char* what;
    std::function<TlsFiles(const fs::path& folder)> prepare;
    const char* error;
  };
  const Case cases[] = {
      {"own key readable by the group",
       [&](const fs::path&) {
         fs::permissions(own_key, fs::perms::group_read, fs::perm_options::add);
         return TlsFiles{};
       },
       "group or others"},
      {"own key a symlink",
       [&](const fs::path&) {
         fs::rename(own_key, state_ / "moved.pem");
         fs::create_symlink(state_ / "moved.pem", own_key);
         return TlsFiles{};
       },
       "symlink"},
      {"own key unreadable",
       [&](const fs::path&) {
         fs::remove(own_key);
         test::WriteFile(own_key, "not a key");
         fs::permissions(own_key, fs::perms::owner_read | fs::perms::owner_write);
         return TlsFiles{};
       },
       "remove it"},
      {"given key readable by others",
       [&](const fs::path& folder) {
         const TlsFiles files = GivenFiles(folder, *theirs);
         fs::permissions(*files.key, fs::perms::others_read, fs::perm_options::add);
         return files;
       },
       "group or others"},
      {"given key of another certificate",
       [&](const fs::path& folder) {
         TlsFiles files = GivenFiles(folder, *theirs);
         test::WriteFile(*files.certificate, mine->certificate_pem);
         return files;
       },
       "is not the key of the certificate"},
      {"given key alone",
       [&](const fs::path& folder) {
         return TlsFiles{GivenFiles(folder, *theirs).key, std::nullopt};
       },
       "together"},
      {"given certificate missing",
       [&](const fs::path& folder) {
         return TlsFiles{GivenFiles(folder, *theirs).key, folder / "missing.crt"};
       },
       "missing.crt"},
  };
  for (const Case& c : cases) {
    test::ScratchFolder folder;
    fs::remove_all(state_ / "mine");
    ASSERT_TRUE(Load(state_ / "mine")) << error_;
    const TlsFiles files = c.prepare(folder.Path());
    EXPECT_FALSE(Load(state_ / "mine", files)) << c.what;
    EXPECT_THAT(error_, HasSubstr(c.error)) << c.what;
  }
}

TEST(KeyFingerprint, OnlyTheExactFormCounts) {
  const std::string hex(64, 'a');
  EXPECT_TRUE(vireo::IsKeyFingerprint("sha256:" + hex));
  EXPECT_TRUE(vireo::IsKeyFingerprint("sha256:0123456789abcdef" + std::string(48, '0')));
  for (const std::string& other :
       {std::string(), hex, "sha256:" + hex.substr(1), "sha256:" + hex + "a", "SHA256:" + hex,
        "sha256:" + std::string(64, 'A'), "sha256:" + std::string(63, 'a') + "g", "sha1:" + hex,
        "sha256:" + hex + "\n"}) {
    EXPECT_FALSE(vireo::IsKeyFingerprint(other)) << other;
  }
  EXPECT_EQ(vireo::KeyFingerprint(nullptr), "");
}

}  // namespace
}  // namespace azu::emulator
