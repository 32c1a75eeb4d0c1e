// Fuzz target: any bytes as "DID2.cfg" are read into the settings; the settings written back
// and read again are the same values.
#include <string>

#include "app/config.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

std::vector<Bytes> configFuzzSeeds() {
  return {ToBytes("888\r\n00000256\r\n00004608\r\n00006912\r\n00009216\r\n0\r\n1\r\n"),
          ToBytes("956\n500\n80\n8\n9216\n1\n0\n"),
          ToBytes(" +888 \r\n-1\r\n\r\n2147483647\r\n-2147483648\r\n255\r\n256"),
          ToBytes("0x378\r\nabc\r\n1e3\r\n\t12\t\r\n"), ToBytes("")};
}

namespace {

bool operator==(const Settings& a, const Settings& b) {
  return a.base_port == b.base_port && a.poll_delay == b.poll_delay &&
         a.byte_delay == b.byte_delay && a.bit_delay == b.bit_delay &&
         a.slider_max == b.slider_max && a.drag_mode == b.drag_mode &&
         a.auto_refresh == b.auto_refresh;
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(config, 512) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  std::string work_dir = ScratchDir().string();
  WriteFile(ScratchDir() / std::string(kConfigFileName), input);

  QuietMessages messages;
  Settings read;
  ReadConfig(work_dir, read, messages);
  Check(WriteConfig(work_dir, read, messages), "the settings could not be written back");
  Settings reread;
  QuietMessages quiet;
  ReadConfig(work_dir, reread, quiet);
  Check(reread == read, "the settings read back differ from those written");
  Check(quiet.told == 0, "a file the program wrote itself was reported as faulty");
}
