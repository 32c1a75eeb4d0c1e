// Building the link's port chain and LinkDevice from the program options.
#include "app/link_setup.h"

#include <array>
#include <iostream>
#include <string_view>
#include <utility>

#include "port/real_port.h"

namespace quorvel {
namespace {

constexpr const char* kBothVirtualUnits =
    "--virtual-unit and --virtual-paged cannot be used together";

std::unique_ptr<VirtualUnit> OpenVirtualUnit(const LinkOptions& options, std::uint16_t base_port,
                                             std::string& description, std::string& error) {
  if (options.virtual_unit_dir) {
    auto unit = VirtualUnit::TwoSlotFromFolder(*options.virtual_unit_dir, error, base_port,
                                               options.card_access);
    if (unit) {
      description = "virtual two-slot unit in " + *options.virtual_unit_dir +
                    " (slot1: " + (unit->HasCard(0) ? "card" : "empty") +
                    ", slot2: " + (unit->HasCard(1) ? "card" : "empty") + ")";
    }
    return unit;
  }
  auto unit =
      VirtualUnit::Paged(*options.virtual_paged_file, error, base_port, options.card_access);
  if (unit) {
    description = "virtual paged card " + *options.virtual_paged_file + " (" +
                  std::to_string(unit->Pages()) + " pages)";
  }
  return unit;
}

RealPortOpener& PortOpener() {
  static RealPortOpener opener;
  return opener;
}

}  // namespace

void SetRealPortOpener(RealPortOpener opener) { PortOpener() = std::move(opener); }

std::optional<LinkOptions> LinkOptionsFrom(const ProgramOptions& parsed, std::string& error) {
  LinkOptions options{parsed.Value("virtual-unit"), parsed.Value("virtual-paged"),
                      parsed.Value("trace")};
  if (options.virtual_unit_dir && options.virtual_paged_file) {
    error = kBothVirtualUnits;
    return std::nullopt;
  }
  return options;
}

std::unique_ptr<LinkPort> LinkPort::Open(const LinkOptions& options, std::uint16_t base_port,
                                         std::string& error) {
  if (options.virtual_unit_dir && options.virtual_paged_file) {
    error = kBothVirtualUnits;
    return nullptr;
  }
  std::unique_ptr<LinkPort> chain(new LinkPort());
  if (options.virtual_unit_dir || options.virtual_paged_file) {
    auto unit = OpenVirtualUnit(options, base_port, chain->backend_text_, error);
    if (!unit) return nullptr;
    chain->virtual_unit_ = unit.get();
    chain->backend_ = std::move(unit);
  } else {
    auto port = PortOpener() ? PortOpener()(base_port) : OpenRealPort(base_port);
    chain->backend_text_ = port->StatusText();
    chain->hardware_ = port.get();
    chain->backend_ = std::move(port);
  }
  if (options.trace_file) {
    chain->trace_file_ = TraceFile::Create(*options.trace_file, error);
    if (!chain->trace_file_) return nullptr;
    chain->trace_ = std::make_unique<TracingPort>(*chain->backend_, chain->trace_file_->Stream());
  }
  return chain;
}

LinkPort::~LinkPort() {
  std::string error;
  if (!FinishTrace(error)) std::cerr << "quorvel: " << error << "\n";
}

bool LinkPort::FinishTrace(std::string& error) {
  return !trace_file_ || trace_file_->Finish(error);
}

bool LinkPort::Finish(std::string& error) {
  std::vector<std::string> reasons;
  if (virtual_unit_ != nullptr) reasons = virtual_unit_->FileErrors();
  std::string trace_error;
  if (!FinishTrace(trace_error)) reasons.push_back(trace_error);
  error.clear();
  for (const std::string& reason : reasons) error += (error.empty() ? "" : "; ") + reason;
  return reasons.empty();
}

std::unique_ptr<LinkSession> LinkSession::Open(const LinkOptions& options, LinkSettings& settings,
                                               LinkHooks hooks, std::string& error) {
  std::unique_ptr<LinkSession> session(new LinkSession());
  session->port_ = LinkPort::Open(options, settings.base_port, error);
  if (!session->port_) return nullptr;
  session->device_ =
      std::make_unique<LinkDevice>(session->port_->Port(), settings, std::move(hooks));
  session->device_->EndTransaction();  // the control line idle, as at start-up
  return session;
}

std::string LinkSession::StatsText() const {
  const LinkStats& stats = device_->Stats();
  std::string text = "link: " + std::to_string(stats.transactions) + " transactions, " +
                     std::to_string(stats.block_reads) + " block reads, " +
                     std::to_string(stats.block_writes) + " block writes, " +
                     std::to_string(stats.retries) + " retries";
  // Check reads happen only after a doubtful checksum reply on a paged card; name them then.
  if (stats.bit0_checks != 0) text += ", " + std::to_string(stats.bit0_checks) + " check reads";
  if (const VirtualUnit* unit = port_->Virtual()) {
    const UnitCounters& counters = unit->Counters();
    text += "; virtual unit: " + std::to_string(counters.port_reads) + " port reads, " +
            std::to_string(counters.port_writes) + " port writes, " +
            std::to_string(counters.block_reads) + " blocks read, " +
            std::to_string(counters.block_writes) + " blocks written, " +
            std::to_string(unit->Violations().size()) + " protocol violations";
  }
  return text;
}

}  // namespace quorvel
