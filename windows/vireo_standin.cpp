// A stand-in for the maker's library, so that the program starts and runs under wine here: there
// is no Zorne server to reach, so every connection fails as unreachable and a search finds
// nothing. Built twice, as vireo10.dll and vireo_azum.dll, each exporting what its .def lists.

#define VIREO_BUILDING
#include "server/vireo.h"

extern "C" {

VIREO_STATUS INIT_connect(const char*, const char*, const char*, int32_t, int32_t, int32_t, int32_t,
                          int32_t, int32_t, int32_t, int32_t, VIREO_CONNECTION* connection,
                          int32_t) {
  if (connection != nullptr) *connection = 0;
  return VIREO_E_UNREACHABLE;
}

VIREO_STATUS AZUM_connectUTF8(const char*, const char*, const char*, const char*, int32_t, int32_t,
                              VIREO_CONNECTION* connection, int32_t) {
  if (connection != nullptr) *connection = 0;
  return VIREO_E_UNREACHABLE;
}

VIREO_STATUS INIT_disconnect(VIREO_CONNECTION, int32_t) {
  return VIREO_E_CONNECTION;
}
VIREO_STATUS FT_openSession(VIREO_CONNECTION, VIREO_FT_SESSION*, int32_t) {
  return VIREO_E_CONNECTION;
}
VIREO_STATUS FT_getFile(VIREO_FT_SESSION*, const char*, const char*, int32_t) {
  return VIREO_E_SESSION;
}
VIREO_STATUS FT_putFile(VIREO_FT_SESSION*, const char*, const char*, int32_t) {
  return VIREO_E_SESSION;
}
VIREO_STATUS FT_delete(VIREO_FT_SESSION*, const char*, int32_t) {
  return VIREO_E_SESSION;
}
VIREO_STATUS FT_closeSession(VIREO_FT_SESSION*, int32_t) {
  return VIREO_E_SESSION;
}
VIREO_STATUS ATTR_openSession(VIREO_CONNECTION, VIREO_ATTR_SESSION*, int32_t) {
  return VIREO_E_CONNECTION;
}
VIREO_STATUS ATTR_setDefault(VIREO_ATTR_SESSION*, int32_t, const char*, const char*, int32_t) {
  return VIREO_E_SESSION;
}
VIREO_STATUS ATTR_closeSession(VIREO_ATTR_SESSION*, int32_t) {
  return VIREO_E_SESSION;
}
VIREO_STATUS SERVER_reboot(VIREO_CONNECTION, int32_t) {
  return VIREO_E_CONNECTION;
}
VIREO_STATUS SERVER_restart(VIREO_CONNECTION, int32_t) {
  return VIREO_E_CONNECTION;
}

VIREO_STATUS DISCOV_getZorneList(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 DISCOV_ZorneEx*** list, int32_t* count, int32_t) {
  if (list != nullptr) *list = nullptr;
  if (count != nullptr) *count = 0;
  return VIREO_OK;
}

VIREO_STATUS DISCOV_freeDiscoveredZorneExList(DISCOV_ZorneEx**, int32_t, int32_t) {
  return VIREO_OK;
}

}  // extern "C"
