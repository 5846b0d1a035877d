// Folder locations: the per-user application data folder is the freedesktop data
// home ($XDG_DATA_HOME, else ~/.local/share).
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "dos_path.h"
#include "shlobj.h"

namespace {

std::string DataHome() {
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char *home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/.local/share" : std::string();
}

// Every missing folder of the path, as CSIDL_FLAG_CREATE asks.
void CreateFolders(const std::string &path) {
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        ::mkdir(path.substr(0, at).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}

} // namespace

extern "C" HRESULT WINAPI SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, LPSTR path) {
    if (!path) return E_INVALIDARG;
    std::string folder = (csidl & 0xFF) == CSIDL_LOCAL_APPDATA ? DataHome() : std::string();
    if (folder.empty()) return E_FAIL;
    if (csidl & CSIDL_FLAG_CREATE) CreateFolders(folder);
    std::string dos = platform::HostToDosPath(folder);
    if (dos.size() >= MAX_PATH) return E_FAIL;
    std::memcpy(path, dos.c_str(), dos.size() + 1);
    return S_OK;
}
