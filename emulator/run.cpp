#include "emulator/run.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "emulator/discovery_server.h"
#include "emulator/http_server.h"
#include "emulator/tls_identity.h"

namespace azu::emulator {
namespace {

// Port 0 asks for a free port; it must be free for both TCP and UDP, so a few are tried.
constexpr int kPortAttempts = 64;
constexpr std::chrono::milliseconds kStartPoll{1};

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "zorne";
  return name;
}

// The UDP socket first: with port 0 it picks the number that TCP then has to get too.
std::unique_ptr<DiscoveryServer> BindBoth(HttpServer& http, const Options& options,
                                          std::string& error) {
  for (int attempt = 0; attempt < (options.port == 0 ? kPortAttempts : 1); ++attempt) {
    std::unique_ptr<DiscoveryServer> discovery =
        DiscoveryServer::Bind(options.address, options.port, error);
    if (!discovery) return nullptr;
    if (http.Bind(options.address, discovery->Port())) return discovery;
    error = "cannot bind " + options.address + ":" + std::to_string(discovery->Port()) + " (TCP)";
  }
  return nullptr;
}

}  // namespace

int RunEmulator(const Options& options) {
  // Signals are taken by sigwait() below only; every thread started later inherits the mask.
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  const std::optional<std::filesystem::path> state = PrepareStateFolder(options.root);
  if (!state) {
    std::fprintf(stderr, "zorne-emulator: cannot use %s as the root folder\n",
                 options.root.c_str());
    return 1;
  }
  const std::unique_ptr<EventLog> log = EventLog::Open(*state / "events.log", stdout);
  if (!log) {
    std::fprintf(stderr, "zorne-emulator: cannot open %s\n", (*state / "events.log").c_str());
    return 1;
  }
  const std::string name = options.name.empty() ? HostName() : options.name;
  std::string error;
  const std::optional<TlsIdentity> identity =
      LoadOrCreateTlsIdentity(*state, options.tls, name, error);
  if (!identity) {
    std::fprintf(stderr, "zorne-emulator: %s\n", error.c_str());
    return 1;
  }
  SystemClock clock;
  const std::unique_ptr<Service> service = Service::Create(
      {options.root, options.password, options.session_idle, options.session_lifetime}, clock, *log,
      error);
  StopSignal stop;
  if (!service || !stop.IsValid()) {
    std::fprintf(stderr, "zorne-emulator: %s\n", error.c_str());
    return 1;
  }
  HttpServer http(*service, *log, stop, *identity);
  const std::unique_ptr<DiscoveryServer> discovery = BindBoth(http, options, error);
  if (!discovery) {
    std::fprintf(stderr, "zorne-emulator: %s\n", error.c_str());
    return 1;
  }
  const ServerIdentity announced{options.address, name, options.model, 1, identity->fingerprint};

  std::atomic<bool> failed = false;
  std::atomic<bool> http_ended = false;
  std::thread http_thread([&] {
    if (!http.Run() && !stop.Triggered()) {
      failed = true;
      std::fputs("zorne-emulator: the HTTP server stopped\n", stderr);
      ::kill(::getpid(), SIGTERM);
    }
    http_ended = true;
  });
  std::thread discovery_thread([&] { discovery->Run(announced, *log, stop); });
  // Until the accept loop runs, a stop would not reach it.
  while (!http.IsRunning() && !http_ended) std::this_thread::sleep_for(kStartPoll);

  if (!failed) {
    // The lines tell the waiting user or test the real port, and the key to compare with what
    // a client shows on its first connection.
    std::printf("zorne-emulator listening on %s:%u\n", options.address.c_str(),
                static_cast<unsigned>(discovery->Port()));
    std::printf("zorne-emulator key %s\n", identity->fingerprint.c_str());
    std::fflush(stdout);
  }
  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  stop.Trigger();
  clock.Interrupt();
  http.Stop();
  http_thread.join();
  discovery_thread.join();
  return failed ? 1 : 0;
}

}  // namespace azu::emulator
