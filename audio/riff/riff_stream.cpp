#include "audio/riff/riff_stream.h"

#include <algorithm>

#include "audio/riff/riff_header.h"

namespace {

constexpr std::uint32_t kFileAccess = unaFileStream::kAccessRead | unaFileStream::kAccessWrite;
constexpr std::uint32_t kFileShare = unaFileStream::kShareRead | unaFileStream::kShareWrite;

// A name of blanks and control characters only names no file.
bool isBlankName(const std::filesystem::path& name) {
    const std::string& text = name.native();
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; });
}

}  // namespace

unaRiffStream::unaRiffStream(const std::filesystem::path& fileName, const WAVEFORMATEX& format,
                             std::uint16_t formatTag, std::string codecRoot)
    : unaWaveSoftwareDevice(false, false, 0),
      fileName_(fileName),
      format_(duplicateFormat(&format)),
      formatTag_(formatTag),
      codecRoot_(std::move(codecRoot)),
      dataLimit_(riffDataLimit(format)) {
    setPcmSampling(format.nSamplesPerSec, format.wBitsPerSample, format.nChannels);
    applyFormat(false, format);
    if (!isBlankName(fileName_)) {
        // Creates the file when missing; an existing one keeps its contents until open().
        file_ = std::make_unique<unaFileStream>(fileName_, kFileAccess, kFileShare, false,
                                                unaFileStream::kAttributeNormal);
    }
}

unaRiffStream::~unaRiffStream() {
    close(10000);
    shutdownWorker();
}

int64_t unaRiffStream::getPosition() const {
    return bytesWritten_.load();
}

void unaRiffStream::setDataLimit(std::uint32_t bytes) {
    const std::uint32_t frame = format_->nBlockAlign != 0 ? format_->nBlockAlign : 1;
    dataLimit_.store(std::min(bytes - bytes % frame, riffDataLimit(*format_)));
}

MMRESULT unaRiffStream::afterOpen() {
    const MMRESULT result = unaWaveSoftwareDevice::afterOpen();
    if (result != mmresult::noError) {
        return result;
    }
    std::lock_guard lock(writeMutex_);
    workBuffer_.assign(std::max(chunkSize(), 1u), 0);
    dataWait = kDataWaitMs;
    bytesWritten_ = 0;
    droppedAtLimit_ = 0;
    failedWrite_ = 0;
    sinceHeader_ = 0;
    const WAVEFORMATEX* format = dstFormat();
    if (file_ == nullptr || format == nullptr ||
        !file_->openFile(fileName_, kFileAccess, kFileShare, false,
                         unaFileStream::kAttributeNormal)) {
        setHandle(0);  // stay closed, so that providers' chunks are refused
        return mmresult::invalidParam;
    }
    file_->clear();
    headerSize_ = riffHeaderSize(*format);
    headerEvery_ =
        format->nAvgBytesPerSec != 0 ? format->nAvgBytesPerSec : chunkSize() * chunksPerSecond();
    writeHeader(0);
    return mmresult::noError;
}

bool unaRiffStream::serviceHeader(unaWaveHeader* header, bool signalled) {
    if (!unaWaveSoftwareDevice::serviceHeader(header, signalled)) {
        return false;
    }
    std::lock_guard lock(writeMutex_);
    writeNextPiece();
    return true;
}

bool unaRiffStream::flush(bool) {
    if (!isOpen()) {
        return false;
    }
    std::lock_guard lock(writeMutex_);
    while (writeNextPiece()) {
    }
    return true;
}

void unaRiffStream::afterClose(MMRESULT result) {
    unaWaveSoftwareDevice::afterClose(result);
    std::lock_guard lock(writeMutex_);
    if (file_ == nullptr) {
        return;
    }
    // A chunk that slipped in while close began; the worker is gone by now.
    while (writeNextPiece()) {
    }
    writeHeader(bytesWritten_.load());
    file_->closeFile();  // the stream object stays, so a later open starts over
}

bool unaRiffStream::writeNextPiece() {
    if (workBuffer_.empty()) {
        return false;
    }
    const int got = readInput(workBuffer_.data(), int(workBuffer_.size()));
    if (got <= 0) {
        return false;
    }
    appendPiece(workBuffer_.data(), std::uint32_t(got));
    return true;
}

void unaRiffStream::appendPiece(const std::uint8_t* data, std::uint32_t size) {
    const std::uint32_t written = bytesWritten_.load();
    const std::uint32_t limit = dataLimit_.load();
    const std::uint32_t room = limit > written ? limit - written : 0;
    const std::uint32_t take = std::min(size, room);
    droppedAtLimit_ += size - take;
    if (take == 0) {
        return;
    }
    if (file_->write(data, int(take)) != int(take)) {
        failedWrite_ += take;
        returnToEndOfAudio(written);  // so that a partial write leaves no gap in the audio
        return;
    }
    sinceHeader_ += take;
    if (sinceHeader_ >= headerEvery_) {
        // Before the new count is published: who sees it finds the header on disk.
        writeHeader(written + take);
        sinceHeader_ = 0;
    }
    bytesWritten_.store(written + take);
}

void unaRiffStream::writeHeader(std::uint32_t dataBytes) {
    const std::vector<std::uint8_t> header = buildRiffHeader(*dstFormat(), dataBytes);
    file_->seek(0, true);
    file_->write(header.data(), int(header.size()));
    returnToEndOfAudio(dataBytes);
}

void unaRiffStream::returnToEndOfAudio(std::uint32_t dataBytes) {
    // Offsets travel as their low 32 bits; the distance from the end of the
    // file is small, so wrapping arithmetic gives it exactly.
    const std::uint32_t end = headerSize_ + dataBytes;
    const std::uint32_t size = std::uint32_t(file_->getSize());
    file_->seek(static_cast<int>(size - end), false);
}
