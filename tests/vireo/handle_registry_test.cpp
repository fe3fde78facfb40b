#include "vireo/handle_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace azu::vireo {
namespace {

// Nothing is sent: a connection only talks when asked to.
std::shared_ptr<Connection> Unused() {
  return std::make_shared<Connection>(ServerAddress{"127.0.0.1", 9}, "127.0.0.1:9");
}

TEST(VireoHandleRegistry, ConnectionHandlesAreNonZeroAndNeverReused) {
  HandleRegistry registry;
  std::set<std::uint32_t> seen;
  for (int i = 0; i < 100; ++i) {
    const std::uint32_t handle = registry.AddConnection(Unused());
    EXPECT_NE(handle, 0U);
    EXPECT_TRUE(seen.insert(handle).second);
    EXPECT_NE(registry.FindConnection(handle), nullptr);
    EXPECT_NE(registry.RemoveConnection(handle), nullptr);
    EXPECT_EQ(registry.FindConnection(handle), nullptr);
    EXPECT_EQ(registry.RemoveConnection(handle), nullptr);
  }
  EXPECT_EQ(registry.FindConnection(0), nullptr);
}

TEST(VireoHandleRegistry, SessionsAreFoundOnlyByTheirWholeRecordAndKind) {
  HandleRegistry registry;
  const std::uint32_t connection = registry.AddConnection(Unused());
  const auto files = registry.AddSession(connection, SessionKind::kFileTransfer);
  const auto attributes = registry.AddSession(connection, SessionKind::kAttribute);
  ASSERT_TRUE(files && attributes);
  EXPECT_NE(files->id, attributes->id);

  const auto found = registry.FindSession(*files, SessionKind::kFileTransfer);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->connection, registry.FindConnection(connection));
  EXPECT_NE(found->files, nullptr);
  EXPECT_TRUE(registry.FindSession(*attributes, SessionKind::kAttribute));

  EXPECT_FALSE(registry.FindSession(*files, SessionKind::kAttribute));
  EXPECT_FALSE(registry.FindSession({files->id, files->check ^ 1U}, SessionKind::kFileTransfer));
  EXPECT_FALSE(registry.FindSession({0, 0}, SessionKind::kFileTransfer));
  EXPECT_FALSE(registry.RemoveSession(*files, SessionKind::kAttribute));

  EXPECT_TRUE(registry.RemoveSession(*files, SessionKind::kFileTransfer));
  EXPECT_FALSE(registry.FindSession(*files, SessionKind::kFileTransfer));
  EXPECT_FALSE(registry.RemoveSession(*files, SessionKind::kFileTransfer));
}

TEST(VireoHandleRegistry, SessionsEndWithTheirConnection) {
  HandleRegistry registry;
  const std::uint32_t first = registry.AddConnection(Unused());
  const std::uint32_t second = registry.AddConnection(Unused());
  const auto closing = registry.AddSession(first, SessionKind::kFileTransfer);
  const auto staying = registry.AddSession(second, SessionKind::kFileTransfer);
  ASSERT_TRUE(closing && staying);

  registry.RemoveConnection(first);
  EXPECT_FALSE(registry.FindSession(*closing, SessionKind::kFileTransfer));
  EXPECT_FALSE(registry.RemoveSession(*closing, SessionKind::kFileTransfer));
  EXPECT_TRUE(registry.FindSession(*staying, SessionKind::kFileTransfer));
  EXPECT_FALSE(registry.AddSession(first, SessionKind::kAttribute));
  EXPECT_FALSE(registry.AddSession(0, SessionKind::kAttribute));
}

}  // namespace
}  // namespace azu::vireo
