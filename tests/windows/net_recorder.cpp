// Stands in for net.exe in the Windows seams test: appends its arguments, joined by '|', to
// net-calls.txt in the current folder.

#include <cstdio>

int main(int argc, char** argv) {
  std::FILE* calls = std::fopen("net-calls.txt", "ab");
  if (calls == nullptr) return 1;
  for (int i = 1; i < argc; ++i) std::fprintf(calls, i == 1 ? "%s" : "|%s", argv[i]);
  std::fprintf(calls, "\n");
  std::fclose(calls);
  return 0;
}
