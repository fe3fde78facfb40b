#include "vireo/discovery_list.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace azu::vireo {
namespace {

TEST(VireoDiscoveryList, HoldsEveryServerInOrder) {
  const std::vector<DiscoveredServer> servers = {
      {0x0A010203U, {"lab", "QV5020", 1}},
      {0x7F000004U, {std::string(300, 'n'), "QV4010", 4294967295U}},
  };
  DISCOV_ZorneEx** list = MakeZorneList(servers);
  ASSERT_NE(list, nullptr);
  EXPECT_STREQ(list[0]->address, "10.1.2.3");
  EXPECT_STREQ(list[0]->name, "lab");
  ASSERT_EQ(list[0]->modelCount, 1U);
  EXPECT_STREQ(list[0]->modelCodes[0], "QV5020");
  EXPECT_EQ(list[0]->number, 1U);
  EXPECT_STREQ(list[1]->address, "127.0.0.4");
  EXPECT_EQ(std::string(list[1]->name), std::string(300, 'n'));
  EXPECT_STREQ(list[1]->modelCodes[0], "QV4010");
  EXPECT_EQ(list[1]->number, 4294967295U);
  EXPECT_TRUE(FreeZorneList(list));
}

TEST(VireoDiscoveryList, FreesOnlyItsOwnListsAndEachOnce) {
  DISCOV_ZorneEx** empty = MakeZorneList({});
  ASSERT_NE(empty, nullptr);
  DISCOV_ZorneEx* foreign[1] = {nullptr};
  EXPECT_FALSE(FreeZorneList(foreign));
  EXPECT_TRUE(FreeZorneList(empty));
  EXPECT_FALSE(FreeZorneList(empty));
}

}  // namespace
}  // namespace azu::vireo
