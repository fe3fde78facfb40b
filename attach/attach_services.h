#pragma once
// Everything the headless watcher reaches outside itself, passed in so tests can stand in for
// the clock, the network, the ARP cache, the services, the server library, the files, the stop
// request and the log.

#include <string>

#include "attach/datagram_transport.h"
#include "attach/local_files.h"
#include "platform/arp_cache.h"
#include "platform/clock.h"
#include "platform/host_addresses.h"
#include "platform/service_control.h"
#include "platform/stop_request.h"
#include "server/server_library.h"

namespace azu {

struct AttachServices {
  platform::Clock& clock;
  platform::HostAddressSource& hosts;
  platform::ArpCache& arp;
  DatagramTransport& transport;
  platform::ServiceControl& services;
  ServerLibrary& library;
  LocalFiles& files;
  std::string driveE;  // the root that server paths map onto
  const platform::StopRequest& stop;
  WatcherLog log;
};

}  // namespace azu
