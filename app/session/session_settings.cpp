#include "app/session/session_settings.h"

#include <cstdio>
#include <cstdlib>

#include "framework/ini/ini_storage.h"
#include "platform/profile/profile_text.h"

namespace {

std::string trimmed(const std::string& text) {
    return std::string(qv::profile::trimBlanks(text));
}

void readSide(unaIniAbstractStorage& store, int& deviceId, PcmSampling& sampling,
              std::string& fileName) {
    deviceId = store.getInt("deviceId", -1);
    sampling.samplesPerSec = store.getInt("pcmSamplesPerSecond", 44100);
    sampling.bitsPerSample = store.getInt("pcmBitsPerSample", 16);
    sampling.channels = store.getInt("pcmNumChannels", 2);
    fileName = trimmed(store.getString("fileName"));
}

void writeSide(unaIniAbstractStorage& store, int deviceId, const PcmSampling& sampling,
               const std::string& fileName) {
    store.setUnsigned("deviceId", uint32_t(deviceId));
    store.setUnsigned("pcmSamplesPerSecond", uint32_t(sampling.samplesPerSec));
    store.setUnsigned("pcmBitsPerSample", uint32_t(sampling.bitsPerSample));
    store.setUnsigned("pcmNumChannels", uint32_t(sampling.channels));
    store.setString("fileName", fileName);
}

}  // namespace

std::string shortDecimalText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

SessionSettings readSessionSettings(unaIniAbstractStorage& store) {
    SessionSettings s;
    store.setSection("waveOut");
    readSide(store, s.playbackDeviceId, s.playbackSampling, s.playbackFileName);
    store.setSection("waveIn");
    readSide(store, s.captureDeviceId, s.captureSampling, s.captureFileName);
    s.saveToFile = store.getBool("saveToFile", false);
    store.setSection("delay");
    s.delayMs = store.getInt64("delaysec", 4);
    store.setSection("form");
    s.language = store.getString("language");
    s.width = store.getInt("width", 3);
    s.height = store.getInt("height", 3);
    s.left = store.getInt("left", 4);
    s.top = store.getInt("top", 4);
    store.setSection("main");
    s.initialSaveDir = store.getString("initialSaveDir", "./");
    store.setSection("skin");
    s.skin = trimmed(store.getString("skin"));
    return s;
}

void writeSessionSettings(unaIniAbstractStorage& store, const SessionSettings& s,
                          double delaySeconds) {
    store.setSection("waveOut");
    writeSide(store, s.playbackDeviceId, s.playbackSampling, s.playbackFileName);
    store.setSection("waveIn");
    writeSide(store, s.captureDeviceId, s.captureSampling, s.captureFileName);
    store.setBool("saveToFile", s.saveToFile);
    store.setSection("delay");
    store.setString("delaysec", shortDecimalText(delaySeconds * 1000.0));
    store.setSection("form");
    store.setString("language", s.language);
    store.setInt("width", s.width);
    store.setInt("height", s.height);
    store.setInt("left", s.left);
    store.setInt("top", s.top);
    store.setSection("skin");
    store.setString("skin", s.skin);
}

void writeInitialSaveDir(unaIniAbstractStorage& store, const std::string& directory) {
    store.setSection("main");
    store.setString("initialSaveDir", directory);
}
