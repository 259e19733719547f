// The size query's floor in C++: the same query, answered through the C++ runtime's streams
// as quorvane-size answers.
#include <iostream>
#include <string>

#include "LibcurlFloorQuery.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  char answer[512];
  const int status = FloorAsk(argv[1], answer, sizeof answer);
  std::cout << std::string(answer) << std::endl;
  return status;
}
