#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A PulseAudio daemon of this test alone: its own runtime folder, a unix
// socket, two null sinks "radio" and "tv". The test process is pointed at it
// (PULSE_SERVER, HOME), so ALSA's "pulse" devices reach it and no one else's.
class PrivatePulseServer {
  public:
    PrivatePulseServer() = default;
    ~PrivatePulseServer();
    PrivatePulseServer(const PrivatePulseServer&) = delete;
    PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

    // Empty on success, else why it could not start.
    std::string start();
    // Runs a PulseAudio client program (pactl ...) with this process's environment,
    // so against the server it points at; true when it exits 0.
    static bool runClient(const std::vector<std::string>& arguments);

    static bool programExists(const std::string& program);

  private:
    void stop();

    std::string folder_;
    pid_t daemon_ = -1;
};
