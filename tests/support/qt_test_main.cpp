// Test entry for tests that build windows: one QApplication for the whole run. Listing the tests
// (CTest's discovery at build time) needs no window system, so it makes none.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <string_view>

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i)
    listing = listing || std::string_view(argv[i]) == "--gtest_list_tests";
  std::unique_ptr<QApplication> application;
  if (!listing) application = std::make_unique<QApplication>(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
