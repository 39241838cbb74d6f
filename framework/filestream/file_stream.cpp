#include "framework/filestream/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace {

int openFlags(std::uint32_t access) {
    const bool reads = (access & unaFileStream::kAccessRead) != 0;
    const bool writes = (access & unaFileStream::kAccessWrite) != 0;
    const int mode = writes ? (reads ? O_RDWR : O_WRONLY) : O_RDONLY;
    return mode | O_CLOEXEC;
}

// An existing name is opened as it is; a missing one is created new. When
// another process creates the name in between, that file is opened instead.
int openOrCreate(const std::filesystem::path& name, std::uint32_t access,
                 std::uint32_t attributes) {
    const int flags = openFlags(access);
    const mode_t mode = (attributes & unaFileStream::kAttributeReadOnly) != 0 ? 0444 : 0666;
    for (int attempt = 0; attempt < 2; ++attempt) {
        struct stat info {};
        if (::stat(name.c_str(), &info) == 0) {
            return ::open(name.c_str(), flags);
        }
        const int fd = ::open(name.c_str(), flags | O_CREAT | O_EXCL, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The low 32 bits, as the stream interface carries offsets and sizes.
int low32(std::int64_t value) {
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

}  // namespace

unaFileStream::unaFileStream(const std::filesystem::path& fileName, std::uint32_t access,
                             std::uint32_t share, bool looping, std::uint32_t attributes)
    : unaAbstractStream(kLockTimeoutMs),
      fileName_(fileName),
      access_(access),
      share_(share),
      looping_(looping),
      attributes_(attributes) {
    if (!fileName.empty()) {
        openFile(fileName, access, share, looping, attributes);
    }
}

unaFileStream::~unaFileStream() {
    closeFile();
}

bool unaFileStream::openFile(const std::filesystem::path& fileName, std::uint32_t access,
                             std::uint32_t share, bool looping, std::uint32_t attributes) {
    if (!lock()) {
        return false;
    }
    bool opened = false;
    {
        std::lock_guard guard(descriptorMutex_);
        closeLocked();
        fileName_ = fileName;
        access_ = access;
        share_ = share;
        looping_ = looping;
        attributes_ = attributes;
        descriptor_ = openOrCreate(fileName, access, attributes);
        opened = descriptor_ >= 0;
        if (opened) {
            moveLocked(0);
            sizeLocked();
        }
    }
    open_ = opened;
    unlock();
    return opened;
}

void unaFileStream::closeFile() {
    std::lock_guard guard(descriptorMutex_);
    closeLocked();
}

void unaFileStream::closeLocked() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

std::int64_t unaFileStream::pointerLocked() const {
    if (descriptor_ < 0) {
        return 0;
    }
    const off_t offset = ::lseek(descriptor_, 0, SEEK_CUR);
    return offset < 0 ? 0 : offset;
}

std::int64_t unaFileStream::moveLocked(std::int64_t offset) {
    if (descriptor_ < 0) {
        return 0;
    }
    const off_t result = ::lseek(descriptor_, std::max<std::int64_t>(offset, 0), SEEK_SET);
    return result < 0 ? pointerLocked() : result;
}

std::int64_t unaFileStream::sizeLocked() {
    struct stat info {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &info) != 0) {
        return static_cast<std::uint32_t>(size_.load());
    }
    size_ = low32(info.st_size);
    return info.st_size;
}

std::int64_t unaFileStream::readLocked(char* buffer, std::int64_t size) {
    std::int64_t got = 0;
    while (got < size && descriptor_ >= 0) {
        const ssize_t n = ::read(descriptor_, buffer + got, static_cast<std::size_t>(size - got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += n;
    }
    return got;
}

int unaFileStream::seek(int position, bool fromBeginning) {
    std::lock_guard guard(descriptorMutex_);
    const std::int64_t target =
        fromBeginning ? std::int64_t{position} : sizeLocked() - std::int64_t{position};
    return low32(moveLocked(target));
}

int unaFileStream::seekBy(int delta) {
    std::lock_guard guard(descriptorMutex_);
    return low32(moveLocked(pointerLocked() + delta));
}

int unaFileStream::getPosition() {
    std::lock_guard guard(descriptorMutex_);
    return low32(pointerLocked());
}

int unaFileStream::getSize() {
    std::lock_guard guard(descriptorMutex_);
    return low32(sizeLocked());
}

int unaFileStream::getAvailableSize() {
    if (looping_) {
        return size_;
    }
    std::lock_guard guard(descriptorMutex_);
    const std::int64_t available = sizeLocked() - pointerLocked();
    return static_cast<int>(std::clamp<std::int64_t>(available, 0, INT_MAX));
}

void unaFileStream::clear() {
    if (!lock()) {
        return;
    }
    {
        std::lock_guard guard(descriptorMutex_);
        if (descriptor_ >= 0) {
            moveLocked(0);
            if (::ftruncate(descriptor_, 0) == 0) {
                size_ = 0;
            }
        }
    }
    unlock();
}

int unaFileStream::write(const void* data, int size) {
    int result = 0;
    if (open_ && data != nullptr && size > 0 && lock()) {
        {
            std::lock_guard guard(descriptorMutex_);
            const char* bytes = static_cast<const char*>(data);
            int written = 0;
            while (descriptor_ >= 0 && written < size) {
                const ssize_t n =
                    ::write(descriptor_, bytes + written, static_cast<std::size_t>(size - written));
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n <= 0) {
                    break;
                }
                written += static_cast<int>(n);
            }
            sizeLocked();
            result = written == size ? size : 0;
        }
        unlock();
    }
    unaAbstractStream::write(data, size);
    return result;
}

int unaFileStream::read(void* buffer, int size, bool remove) {
    if (!open_ || buffer == nullptr || size <= 0 || !lock()) {
        return 0;
    }
    std::int64_t got = 0;
    {
        std::lock_guard guard(descriptorMutex_);
        char* bytes = static_cast<char*>(buffer);
        const std::int64_t start = pointerLocked();
        got = readLocked(bytes, size);
        while (looping_ && got < size) {
            moveLocked(0);
            const std::int64_t more = readLocked(bytes + got, size - got);
            if (more == 0) {
                break;  // an empty file
            }
            got += more;
        }
        if (!remove) {
            moveLocked(start);
        }
    }
    unlock();
    return static_cast<int>(got);
}
