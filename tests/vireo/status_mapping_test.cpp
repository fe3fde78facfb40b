#include "vireo/status_mapping.h"

#include <gtest/gtest.h>

namespace azu::vireo {
namespace {

HttpAnswer Answered(int status) {
  HttpAnswer answer;
  answer.transport = Transport::kAnswered;
  answer.status = status;
  return answer;
}

HttpAnswer Failed(Transport transport) {
  HttpAnswer answer;
  answer.transport = transport;
  return answer;
}

TEST(VireoStatusMapping, SuccessIsOnlyTheExpectedStatus) {
  EXPECT_EQ(StatusOfAnswer(Answered(200), Exchange::kLogin, 200), VIREO_OK);
  EXPECT_EQ(StatusOfAnswer(Answered(204), Exchange::kOther, 204), VIREO_OK);
  EXPECT_EQ(StatusOfAnswer(Answered(200), Exchange::kOther, 204), VIREO_E_PROTOCOL);
  EXPECT_EQ(StatusOfAnswer(Answered(302), Exchange::kOther, 200), VIREO_E_PROTOCOL);
}

TEST(VireoStatusMapping, ServerRefusalsHaveTheirOwnStatus) {
  struct Case {
    int http;
    Exchange exchange;
    VIREO_STATUS status;
  };
  const Case cases[] = {
      {401, Exchange::kLogin, VIREO_E_AUTH},
      {401, Exchange::kOther, VIREO_E_SESSION_ENDED},
      {401, Exchange::kAttribute, VIREO_E_SESSION_ENDED},
      {400, Exchange::kAttribute, VIREO_E_ATTRIBUTE},
      {400, Exchange::kOther, VIREO_E_ARGUMENT},
      {400, Exchange::kLogin, VIREO_E_ARGUMENT},
      {403, Exchange::kOther, VIREO_E_PATH},
      {404, Exchange::kOther, VIREO_E_NOT_FOUND},
      {412, Exchange::kOther, VIREO_E_CONFLICT},
      {413, Exchange::kOther, VIREO_E_TOO_LARGE},
      {500, Exchange::kOther, VIREO_E_SERVER},
      {503, Exchange::kLogin, VIREO_E_SERVER},
      {599, Exchange::kAttribute, VIREO_E_SERVER},
      {405, Exchange::kOther, VIREO_E_PROTOCOL},
      {600, Exchange::kOther, VIREO_E_PROTOCOL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatusOfAnswer(Answered(c.http), c.exchange, 204), c.status) << c.http;
  }
}

TEST(VireoStatusMapping, TransportFailuresComeFirst) {
  EXPECT_EQ(StatusOfAnswer(Failed(Transport::kUnreachable), Exchange::kLogin, 200),
            VIREO_E_UNREACHABLE);
  EXPECT_EQ(StatusOfAnswer(Failed(Transport::kBroken), Exchange::kOther, 200), VIREO_E_PROTOCOL);
  EXPECT_EQ(StatusOfAnswer(Failed(Transport::kTooLarge), Exchange::kOther, 200), VIREO_E_TOO_LARGE);
}

}  // namespace
}  // namespace azu::vireo
