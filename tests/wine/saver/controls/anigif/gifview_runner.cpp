#include "gifview_runner.h"

#include <cstdio>
#include <sstream>

#include "support/program_driver.h"

namespace ventalune::wine_test {

std::string GifviewPath() {
  // tests-bin\..\tools-bin\gifview.exe
  std::string folder = ProductFolder();
  folder.resize(folder.find_last_of('\\'));
  return folder + "\\tools-bin\\gifview.exe";
}

std::string FreshFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  const std::string folder =
      std::string(temp) + "anigif-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + "-" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

BitmapPicture GifviewRun::Picture(const Shot& shot) const {
  char name[32];
  std::snprintf(name, sizeof name, "\\shot-%04d.bmp", shot.number);
  return ReadBmpFile(shotFolder + name);
}

int GifviewRun::Count(const std::string& line) const {
  int count = 0;
  for (const std::string& said : lines) count += said == line;
  return count;
}

GifviewRun RunGifview(const std::string& arguments, bool capture, std::chrono::milliseconds timeout) {
  GifviewRun run;
  const std::string outputPath = FreshFolder("out") + "\\output.txt";
  std::string command = "\"" + GifviewPath() + "\" ";
  if (capture) {
    run.shotFolder = FreshFolder("shots");
    command += "--capture \"" + run.shotFolder + "\" ";
  }
  command += arguments;

  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  startup.hStdInput = nullptr;
  PROCESS_INFORMATION process{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  const bool started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(output);
  if (!started) return run;
  run.finished = WaitFor([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, timeout);
  if (!run.finished) TerminateProcess(process.hProcess, 99);
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  const std::vector<uint8_t> bytes = ReadRawFile(outputPath);
  std::istringstream text(std::string(bytes.begin(), bytes.end()));
  for (std::string said; std::getline(text, said);) {
    if (!said.empty() && said.back() == '\r') said.pop_back();
    Shot shot;
    if (std::sscanf(said.c_str(), "shot %d frame %d at %lld ms", &shot.number, &shot.frame, &shot.atMs) == 3)
      run.shots.push_back(shot);
    else
      run.lines.push_back(said);
  }
  return run;
}

}  // namespace ventalune::wine_test
