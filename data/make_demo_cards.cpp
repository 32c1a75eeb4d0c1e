// make-demo-cards DIR: writes the two demo cards DIR/slot1.dcm and DIR/slot2.dcm.
// make-demo-cards --data DIR: writes the program's data files DIR/dpnw.dc and DIR/NA.bmp.
#include <iostream>
#include <string>

#include "demo_cards.h"

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  const bool data = first == "--data";
  if (argc != (data ? 3 : 2)) {
    std::cerr << "usage: make-demo-cards DIR | make-demo-cards --data DIR\n";
    return 2;
  }
  std::string error;
  const bool ok = data ? quorvel::demo::WriteDataFiles(argv[2], error)
                       : quorvel::demo::WriteDemoCards(argv[1], error);
  if (!ok) {
    std::cerr << "make-demo-cards: " << error << "\n";
    return 1;
  }
  return 0;
}
