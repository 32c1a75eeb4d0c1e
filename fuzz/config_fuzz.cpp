// Fuzz target: any bytes as "DID2.cfg" are read into the settings; the settings written back
// (the text the program writes) and read again are the same values, without a message. The
// file is read from memory through the program's own reader: no file system per input.
#include <cstdio>
#include <memory>
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

// The configuration file's bytes read from memory through the program's own stream reader.
bool ReadConfigText(Input text, Settings& settings, Messages& messages) {
  Bytes copy(text.begin(), text.end());
  copy.push_back(0);  // fmemopen wants a buffer; the stream covers only the text
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(copy.data(), text.size(), "rb"),
                                                       &std::fclose);
  Check(file != nullptr, "the text could not be opened as a stream");
  return ReadConfigStream(file.get(), settings, messages);
}

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
  QuietMessages messages;
  Settings read;
  Check(ReadConfigText(input, read, messages), "the settings could not be read");
  const std::string written = ConfigContent(read);
  Settings reread;
  QuietMessages quiet;
  Check(ReadConfigText(ToBytes(written), reread, quiet), "the settings written could not be read");
  Check(reread == read, "the settings read back differ from those written");
  Check(quiet.told == 0, "a file the program wrote itself was reported as faulty");
}
