#include "platform/profile/file_text_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace qv::profile {

namespace {

constexpr mode_t kNewFileMode = 0644;

// Closes a descriptor at the end of a scope unless released.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (it can report a lost write).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::filesystem::path followLinks(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, error))) {
        return file;
    }
    auto target = std::filesystem::weakly_canonical(file, error);
    return error ? file : target;
}

void syncDirectory(const std::filesystem::path& directory) {
    FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

}  // namespace

FileText readFileText(const std::filesystem::path& file) {
    // Non-blocking, so that a FIFO of that name cannot stall the caller.
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        return {errno == ENOENT ? FileText::Status::missing : FileText::Status::failed, {}};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {FileText::Status::failed, {}};
    }
    FileText result{FileText::Status::read, {}};
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got == 0) {
            return result;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {FileText::Status::failed, {}};
        }
        result.text.append(buffer, static_cast<std::size_t>(got));
    }
}

long AtomicFileReplacer::writeSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int AtomicFileReplacer::syncFile(int fd) {
    return ::fsync(fd);
}

int AtomicFileReplacer::renameFile(const char* from, const char* to) {
    return ::rename(from, to);
}

bool AtomicFileReplacer::writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const long written = writeSome(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool AtomicFileReplacer::replace(const std::filesystem::path& file, std::string_view text) {
    const auto target = followLinks(file);
    auto directory = target.parent_path();
    if (directory.empty()) {
        directory = ".";
    }

    // A unique name per write: a temporary file left by a killed writer never
    // collides with the next one, and two processes never share one.
    std::string temporaryName = target.string() + ".tmp-XXXXXX";
    FileDescriptor fd(::mkostemp(temporaryName.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    struct stat existing {};
    const mode_t mode =
        ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : kNewFileMode;

    const bool written =
        ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), text) && syncFile(fd.get()) == 0;
    if (!fd.close() || !written || renameFile(temporaryName.c_str(), target.c_str()) != 0) {
        ::unlink(temporaryName.c_str());
        return false;
    }
    syncDirectory(directory);
    return true;
}

}  // namespace qv::profile
