// What tools/soak looks at between and during saver runs, seen from inside
// Wine: our processes (by program file name) with their handle, GDI and
// USER object counts and private memory, whether the cursor shows, and the
// display mode. (Wine 8 answers the GDI and USER counts and the private
// memory of another process with 0; the script reads private memory from
// the host's side instead.) One line of "name=value" words per item, for the script.
//
//   soak_probe sample           prints the state now
//   soak_probe settle SECONDS   waits until none of our processes is left
//                               and the cursor shows; prints the state;
//                               exit status 1 if that did not happen in time
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct OurProcess {
  std::string name;
  DWORD id = 0;
};

bool IsOurs(const char* exe) { return _stricmp(exe, "Ventalune.scr") == 0 || _stricmp(exe, "Ventalune.dll") == 0; }

std::vector<OurProcess> OurProcesses() {
  std::vector<OurProcess> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (IsOurs(entry.szExeFile)) found.push_back({entry.szExeFile, entry.th32ProcessID});
  CloseHandle(snapshot);
  return found;
}

// Open handles of one process: how many, and how many of each object type
// (by the table's type number), which tells what a changed count is made of.
struct HandleCount {
  DWORD total = 0;
  std::map<int, DWORD> byType;
};

// Open handles by process id, from the system's handle table. (Wine answers
// GetProcessHandleCount for another process with 0; the table it keeps.)
std::map<DWORD, HandleCount> HandlesByProcess() {
  std::map<DWORD, HandleCount> counts;
  std::vector<uint8_t> buffer(1 << 20);
  for (int attempt = 0; attempt < 8; ++attempt) {
    ULONG needed = 0;
    const NTSTATUS status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                                     static_cast<ULONG>(buffer.size()), &needed);
    if (status == static_cast<NTSTATUS>(0xC0000004L)) {  // the table grew: a larger buffer
      buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 65536));
      continue;
    }
    if (status < 0) return counts;
    const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    for (ULONG i = 0; i < table->Count; ++i) {
      HandleCount& count = counts[table->Handle[i].OwnerPid];
      ++count.total;
      ++count.byType[table->Handle[i].ObjectType];
    }
    return counts;
  }
  return counts;
}

bool CursorShowing() {
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

void PrintState(const std::vector<OurProcess>& processes) {
  DEVMODEA mode{};
  mode.dmSize = sizeof(mode);
  EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
  std::printf("state cursor=%d display=%lux%lux%lu processes=%zu\n", CursorShowing() ? 1 : 0, mode.dmPelsWidth,
              mode.dmPelsHeight, mode.dmBitsPerPel, processes.size());
  std::map<DWORD, HandleCount> handleTable = HandlesByProcess();
  for (const OurProcess& p : processes) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.id);
    const HandleCount& table = handleTable[p.id];
    DWORD handles = table.total;
    std::string types;
    for (const auto& [type, count] : table.byType) {
      if (!types.empty()) types += ',';
      types += std::to_string(type);
      types += ':';
      types += std::to_string(count);
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    DWORD gdi = 0, user = 0;
    if (process) {
      DWORD counted = 0;
      if (GetProcessHandleCount(process, &counted) && counted > 0) handles = counted;
      GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
      gdi = GetGuiResources(process, GR_GDIOBJECTS);
      user = GetGuiResources(process, GR_USEROBJECTS);
      CloseHandle(process);
    }
    std::printf("process name=%s pid=%lu handles=%lu gdi=%lu user=%lu private=%llu working=%llu types=%s\n",
                p.name.c_str(), p.id, handles, gdi, user, static_cast<unsigned long long>(memory.PrivateUsage),
                static_cast<unsigned long long>(memory.WorkingSetSize), types.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "sample") == 0) {
    PrintState(OurProcesses());
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "settle") == 0) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::atof(argv[2]) * 1000);
    for (;;) {
      const std::vector<OurProcess> processes = OurProcesses();
      const bool settled = processes.empty() && CursorShowing();
      if (settled || static_cast<LONG>(GetTickCount() - deadline) >= 0) {
        PrintState(processes);
        return settled ? 0 : 1;
      }
      Sleep(100);
    }
  }
  std::fprintf(stderr, "usage: soak_probe sample | soak_probe settle SECONDS\n");
  return 2;
}
