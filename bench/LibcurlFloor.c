/* The size query's floor in C: libcurl and the C library, nothing else. */
#include "LibcurlFloorQuery.h"

int main(int argc, char** argv) {
  char answer[512];
  if (argc != 2) return 2;
  int status = FloorAsk(argv[1], answer, sizeof answer);
  printf("%s\n", answer);
  return status;
}
