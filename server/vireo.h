/*
 * vireo.h - the server-access library: connection, file transfer, attributes, server control and
 * discovery of Zorne servers. Plain C; every operation returns a 32-bit status, 0 for success.
 */
#ifndef AZU_SERVER_VIREO_H
#define AZU_SERVER_VIREO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(VIREO_BUILDING)
#define VIREO_API __declspec(dllexport)
#elif defined(_WIN32)
#define VIREO_API __declspec(dllimport)
#elif defined(VIREO_BUILDING)
#define VIREO_API __attribute__((visibility("default")))
#else
#define VIREO_API
#endif

/** Result of every operation: 0 for success, else one of the codes below. */
typedef int32_t VIREO_STATUS;

#define VIREO_OK 0
/** A required argument is null, empty or malformed. */
#define VIREO_E_ARGUMENT 7001
/** The connection handle is unknown or already closed. */
#define VIREO_E_CONNECTION 7002
/** The session record is unknown, closed, or belongs to a closed connection. */
#define VIREO_E_SESSION 7003
/** The server cannot be reached (no answer within the connect time limit). */
#define VIREO_E_UNREACHABLE 7004
/** The server refused the user name or password. */
#define VIREO_E_AUTH 7005
/** The server ended the session (idle too long, or rebooted or restarted). */
#define VIREO_E_SESSION_ENDED 7006
/** The server file does not exist. */
#define VIREO_E_NOT_FOUND 7007
/** The server refused the path (not absolute, outside its roots, or malformed). */
#define VIREO_E_PATH 7008
/** The server copy changed since this session fetched it; nothing was stored. */
#define VIREO_E_CONFLICT 7009
/** The local file cannot be read or written. */
#define VIREO_E_LOCAL_FILE 7010
/** The file is larger than a transfer may be (16 MiB). */
#define VIREO_E_TOO_LARGE 7011
/** The server refused the attribute name or value. */
#define VIREO_E_ATTRIBUTE 7012
/** The server failed to carry out the request. */
#define VIREO_E_SERVER 7013
/** The server's answer was not understood, or the connection broke during the request. */
#define VIREO_E_PROTOCOL 7014
/** The discovery socket could not be opened or used. */
#define VIREO_E_DISCOVERY 7015
/** Memory ran out. */
#define VIREO_E_NO_MEMORY 7016
/** The server showed a key other than the one pinned for it in the known-servers file; nothing,
 *  the password included, was sent. VIREO_getKeyMismatch tells the two keys. */
#define VIREO_E_HOSTKEY 7017
/** Not the library's: what a caller reports when the library it loaded lacks a function of ours
 *  (the maker's has no VIREO_getAttribute). */
#define VIREO_E_UNSUPPORTED 7018

/** A connection to one server; 0 is never a valid handle. */
typedef uint32_t VIREO_CONNECTION;

/** File-transfer session: 8 bytes in the caller's storage, filled by FT_openSession. */
typedef struct VIREO_FT_SESSION {
  uint32_t id;
  uint32_t check;
} VIREO_FT_SESSION;

/** Attribute session: 8 bytes in the caller's storage, filled by ATTR_openSession. */
typedef struct VIREO_ATTR_SESSION {
  uint32_t id;
  uint32_t check;
} VIREO_ATTR_SESSION;

/** One discovered server. On a 32-bit build: address at byte 0, name at 4, model codes at 8,
 *  number at 16. */
typedef struct DISCOV_ZorneEx {
  const char* address;           /**< dotted IPv4 text of the server */
  const char* name;              /**< the server's name */
  const char* const* modelCodes; /**< copier model codes; the first is the copier's */
  uint32_t modelCount;           /**< number of entries in modelCodes (at least 1) */
  uint32_t number;               /**< 0: the entry is to be skipped */
} DISCOV_ZorneEx;

/** Connects to `server` ("host" or "host:port"; port 9631 unless VIREO_PORT says otherwise) and
 *  logs in. `*connection` is zeroed first and set on success. The reserved arguments are
 *  accepted as the program passes them (0, 0, 0, -1, -1, 1, 3, 0 and 0). */
VIREO_API VIREO_STATUS INIT_connect(const char* server, const char* user, const char* password,
                                    int32_t reserved1, int32_t reserved2, int32_t reserved3,
                                    int32_t reserved4, int32_t reserved5, int32_t reserved6,
                                    int32_t reserved7, int32_t reserved8,
                                    VIREO_CONNECTION* connection, int32_t flags);

/** Connects like INIT_connect with UTF-8 texts; `password2` must equal `password`. */
VIREO_API VIREO_STATUS AZUM_connectUTF8(const char* host, const char* user, const char* password,
                                        const char* password2, int32_t reserved1, int32_t reserved2,
                                        VIREO_CONNECTION* connection, int32_t flags);

/** Logs out and closes the connection; its sessions end with it. */
VIREO_API VIREO_STATUS INIT_disconnect(VIREO_CONNECTION connection, int32_t flags);

/** Opens a file-transfer session on the connection. */
VIREO_API VIREO_STATUS FT_openSession(VIREO_CONNECTION connection, VIREO_FT_SESSION* session,
                                      int32_t flags);
/** Copies the server file to the local file; the local file is written only when the whole
 *  file arrived. */
VIREO_API VIREO_STATUS FT_getFile(VIREO_FT_SESSION* session, const char* serverPath,
                                  const char* localPath, int32_t flags);
/** Stores the local file under the server path, replacing it. A path fetched earlier in the same
 *  session is stored only if the server copy is still the one fetched (else VIREO_E_CONFLICT). */
VIREO_API VIREO_STATUS FT_putFile(VIREO_FT_SESSION* session, const char* localPath,
                                  const char* serverPath, int32_t flags);
/** Deletes the server file. */
VIREO_API VIREO_STATUS FT_delete(VIREO_FT_SESSION* session, const char* serverPath, int32_t flags);
/** Ends the session. */
VIREO_API VIREO_STATUS FT_closeSession(VIREO_FT_SESSION* session, int32_t flags);

/** Opens an attribute session on the connection. */
VIREO_API VIREO_STATUS ATTR_openSession(VIREO_CONNECTION connection, VIREO_ATTR_SESSION* session,
                                        int32_t flags);
/** Sets the server attribute `name` to `value` (kept across reboots). */
VIREO_API VIREO_STATUS ATTR_setDefault(VIREO_ATTR_SESSION* session, int32_t reserved,
                                       const char* name, const char* value, int32_t flags);
/** Ours only, not the maker's: the server attribute `name` into `value`, NUL-terminated.
 *  VIREO_E_NOT_FOUND when the server has no such attribute; VIREO_E_TOO_LARGE when the value and
 *  its NUL do not fit in `valueSize` bytes (the server's values are at most 1024 bytes). */
VIREO_API VIREO_STATUS VIREO_getAttribute(VIREO_ATTR_SESSION* session, const char* name,
                                          char* value, uint32_t valueSize);
/** Ends the attribute session. */
VIREO_API VIREO_STATUS ATTR_closeSession(VIREO_ATTR_SESSION* session, int32_t flags);

/** Starts a reboot of the server; its sessions end. */
VIREO_API VIREO_STATUS SERVER_reboot(VIREO_CONNECTION connection, int32_t flags);
/** Restarts the server's services; its sessions end. */
VIREO_API VIREO_STATUS SERVER_restart(VIREO_CONNECTION connection, int32_t flags);

/** After VIREO_E_HOSTKEY from a connect to `server` (as passed to the connect): the key
 *  fingerprint the server showed, the one pinned for it ("sha256:" and 64 hex digits each) and the
 *  known-servers file that holds the pin. Each text is NUL-terminated and cut to its buffer's
 *  size. VIREO_E_ARGUMENT when no mismatch of `server` is known to this process. */
VIREO_API VIREO_STATUS VIREO_getKeyMismatch(const char* server, char* shown, uint32_t shownSize,
                                            char* pinned, uint32_t pinnedSize, char* file,
                                            uint32_t fileSize);

/** Asks the network for Zorne servers: one datagram to each address of VIREO_DISCOVERY_TARGETS
 *  (comma-separated "host" or "host:port"; default the broadcast 255.255.255.255), then listens
 *  for `seconds`. Keeps at most `capacity` answers, one per server address. On success `*list`
 *  and `*count` describe the answers; free them with DISCOV_freeDiscoveredZorneExList. On failure
 *  `*list` is null and `*count` 0. */
VIREO_API VIREO_STATUS DISCOV_getZorneList(int32_t seconds, int32_t capacity, int32_t reserved1,
                                           int32_t reserved2, int32_t reserved3, int32_t reserved4,
                                           int32_t reserved5, DISCOV_ZorneEx*** list,
                                           int32_t* count, int32_t flags);
/** Frees a list from DISCOV_getZorneList, entries and texts included. */
VIREO_API VIREO_STATUS DISCOV_freeDiscoveredZorneExList(DISCOV_ZorneEx** list, int32_t count,
                                                        int32_t flags);

#ifdef __cplusplus
}
#endif

#endif /* AZU_SERVER_VIREO_H */
