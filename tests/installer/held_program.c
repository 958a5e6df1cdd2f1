/* Stands in for kesto.exe and up.qmz in the installer's run under Wine: it writes the file its
   argument names, to say that it runs, and then runs until it is ended, paying no heed to a
   close request, as a platform that lost its window would. */
#include <windows.h>

int main(int argc, char** argv) {
  if (argc > 1) {
    CloseHandle(CreateFileA(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  }
  Sleep(INFINITE);
  return 0;
}
