// File handles: CreateFileA with Win32 dispositions and share modes, ReadFile and
// WriteFile. Share modes are kept per open file (device and inode) within the process,
// and a conflicting open fails before anything is truncated.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "dos_path.h"
#include "file_attributes.h"
#include "kernel_object.h"
#include "winbase.h"

namespace {

using FileKey = std::pair<dev_t, ino_t>;

struct HostFile;

std::mutex shareLock;
std::map<FileKey, std::vector<const HostFile *>> &OpenFiles() {
    static auto *open = new std::map<FileKey, std::vector<const HostFile *>>;
    return *open;
}

struct HostFile : platform::KernelObject {
    int fd = -1;
    FileKey key{};
    DWORD access = 0;
    DWORD share = 0;

    // Closing may report a failed write-back (EIO, ENOSPC), as Win32 may at CloseHandle.
    DWORD Release() override {
        int failed = close(fd) != 0 && errno != EINTR ? errno : 0;
        fd = -1;
        return failed ? platform::ErrorFromErrno(failed) : ERROR_SUCCESS;
    }

    ~HostFile() override {
        {
            std::lock_guard lock(shareLock);
            auto it = OpenFiles().find(key);
            if (it != OpenFiles().end()) {
                std::erase(it->second, this);
                if (it->second.empty()) OpenFiles().erase(it);
            }
        }
        if (fd >= 0) close(fd);
    }
};

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

// Whether an open with (access, share) may coexist with one already open.
bool Compatible(DWORD access, DWORD share, const HostFile &open) {
    if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) return false;
    if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) return false;
    if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
    return true;
}

bool SharingAllows(const FileKey &key, DWORD access, DWORD share) {
    auto it = OpenFiles().find(key);
    if (it == OpenFiles().end()) return true;
    for (const HostFile *open : it->second)
        if (!Compatible(access, share, *open)) return false;
    return true;
}

int OpenModeOf(DWORD access) {
    if ((access & kReadWrite) == kReadWrite) return O_RDWR;
    return (access & GENERIC_WRITE) ? O_WRONLY : O_RDONLY;
}

// Creation flags of a disposition, or -1 when it is not one.
int CreationFlagsOf(DWORD disposition) {
    switch (disposition) {
    case CREATE_NEW: return O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS: return O_CREAT;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING: return 0;
    default: return -1;
    }
}

bool ParentExists(const std::string &hostPath) {
    size_t slash = hostPath.rfind('/');
    if (slash == std::string::npos) return true;
    struct stat info;
    std::string parent = slash == 0 ? "/" : hostPath.substr(0, slash);
    return stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

DWORD OpenError(int error, const std::string &hostPath) {
    if (error == ENOENT) return ParentExists(hostPath) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    if (error == EEXIST) return ERROR_FILE_EXISTS;
    if (error == EISDIR) return ERROR_ACCESS_DENIED;
    return platform::ErrorFromErrno(error);
}

// Checks what Win32 checks before touching the file: directories and read-only files
// cannot be opened for writing.
DWORD RefusalOf(const struct stat &info, DWORD access, DWORD disposition) {
    if (S_ISDIR(info.st_mode)) return ERROR_ACCESS_DENIED;
    bool writes = (access & GENERIC_WRITE) || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (writes && !(info.st_mode & S_IWUSR)) return ERROR_ACCESS_DENIED;
    if (disposition == CREATE_NEW) return ERROR_FILE_EXISTS;
    return ERROR_SUCCESS;
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Registers the open file unless sharing forbids it; truncates only once admitted.
DWORD Admit(HostFile *file, const struct stat &info, bool truncate) {
    file->key = {info.st_dev, info.st_ino};
    std::lock_guard lock(shareLock);
    if (!SharingAllows(file->key, file->access, file->share)) return ERROR_SHARING_VIOLATION;
    // Devices such as /dev/null have no length to cut.
    if (truncate && S_ISREG(info.st_mode) && ftruncate(file->fd, 0) != 0) return platform::ErrorFromErrno(errno);
    OpenFiles()[file->key].push_back(file);
    return ERROR_SUCCESS;
}

HostFile *FileOf(HANDLE handle) {
    HostFile *file = platform::KernelObjectAs<HostFile>(handle);
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

} // namespace

extern "C" HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                                     DWORD, HANDLE) {
    auto host = platform::DosToHostPath(name);
    if (!host || host->empty()) return Fail(ERROR_PATH_NOT_FOUND);
    int creation = CreationFlagsOf(disposition);
    if (creation < 0 || (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE)))
        return Fail(ERROR_INVALID_PARAMETER);
    struct stat info;
    bool existed = stat(host->c_str(), &info) == 0;
    if (existed)
        if (DWORD refusal = RefusalOf(info, access, disposition)) return Fail(refusal);
    int mode = OpenModeOf(access);
    if (mode == O_RDONLY && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING)) mode = O_RDWR;
    int fd = open(host->c_str(), mode | creation | O_CLOEXEC, 0666);
    if (fd < 0) return Fail(OpenError(errno, *host));
    if (fstat(fd, &info) != 0) {
        int error = errno;
        close(fd);
        return Fail(platform::ErrorFromErrno(error));
    }
    auto *file = new HostFile;
    file->fd = fd;
    file->access = access;
    file->share = share;
    bool truncate = existed && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING);
    if (DWORD refusal = Admit(file, info, truncate)) {
        delete file; // not listed yet, so its destructor only closes the descriptor
        return Fail(refusal);
    }
    HANDLE handle = platform::RegisterKernelObject(file);
    bool reportsExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

extern "C" BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
    if (written) *written = 0;
    HostFile *file = FileOf(handle);
    if (!file) return FALSE;
    if (overlapped || (count && !buffer)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(file->access & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const char *bytes = static_cast<const char *>(buffer);
    DWORD done = 0;
    while (done < count) {
        ssize_t n = write(file->fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (written) *written = done;
            SetLastError(n < 0 ? platform::ErrorFromErrno(errno) : ERROR_DISK_FULL);
            return FALSE;
        }
        done += DWORD(n);
    }
    if (written) *written = done;
    return TRUE;
}

extern "C" BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped) {
    if (read) *read = 0;
    HostFile *file = FileOf(handle);
    if (!file) return FALSE;
    if (overlapped || (count && !buffer)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(file->access & GENERIC_READ)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    ssize_t n;
    do n = ::read(file->fd, buffer, count);
    while (n < 0 && errno == EINTR);
    if (n < 0) {
        SetLastError(platform::ErrorFromErrno(errno));
        return FALSE;
    }
    if (read) *read = DWORD(n);
    return TRUE;
}

extern "C" BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    auto host = path ? platform::DosToHostPath(path) : std::nullopt;
    if (!host) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (::mkdir(host->c_str(), 0777) == 0) return TRUE;
    SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
    return FALSE;
}

extern "C" BOOL WINAPI DeleteFileA(LPCSTR path) {
    auto host = path ? platform::DosToHostPath(path) : std::nullopt;
    if (host && ::unlink(host->c_str()) == 0) return TRUE;
    SetLastError(host && errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    return FALSE;
}
