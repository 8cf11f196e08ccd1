// The branches of the poll tick, each set up on the simulated desktop and
// ready to tick, with the platform calls one tick makes counted: by seam
// call, and the reads that matter most (Messenger's status, each setting,
// the player's title). Shared by the benchmark and the test that keeps the
// counts within their targets.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tb::bench {

enum class Branch {
  kSignedOut,
  kSwitchedOff,
  kWinampSameSong,
  kWinampNewSong,
  kStudioSameSong,
  kStudioNewSong,
  kMusicMatchSameSong,
  kMusicMatchNewSong,
  kWindowsMediaSameSong,
  kWindowsMediaNewSong,
};

struct BranchInfo {
  Branch branch;
  const char* name;
  // True for the branches whose tick finds a new song and changes the name.
  bool newSong;
};

const std::vector<BranchInfo>& Branches();

// What one tick did.
struct TickCounts {
  // Seam calls by their Win32 name.
  std::map<std::string, std::size_t> calls;
  std::size_t statusReads = 0;
  // Reads of each setting, by key.
  std::map<std::u16string, std::size_t> settingReads;
  // Reads of the chosen player's title: its window's text, or Windows Media
  // Player's "Title" value.
  std::size_t titleReads = 0;
  // How many texts the host sent.
  std::size_t sent = 0;

  // The seam calls of one kind (see KindOf), and in all.
  [[nodiscard]] std::size_t OfKind(const std::string& kind) const;
  [[nodiscard]] std::size_t Total() const;
};

// The kinds of seam call the table shows: "Messenger" (its objects' calls),
// "reg opens" (open or create a key), "reg reads" (value queries), "reg
// writes", "window" (user32's window calls), "pump" (the message queue) and
// "other" (closing keys, key strokes, the script host).
const std::vector<std::string>& Kinds();
std::string KindOf(const std::string& call);

// A simulated desktop with the plug-in loaded, set up for one branch.
class TickBench {
 public:
  explicit TickBench(Branch branch);
  ~TickBench();
  TickBench(const TickBench&) = delete;
  TickBench& operator=(const TickBench&) = delete;
  TickBench(TickBench&&) = delete;
  TickBench& operator=(TickBench&&) = delete;

  // Lets the next poll tick fire: for a new-song branch the player has
  // moved to another song first.
  void Tick();
  // The same, counting what the tick did.
  TickCounts CountedTick();

 private:
  struct World;
  // Gives the player the next song.
  void ShowSong();

  std::unique_ptr<World> world_;
  Branch branch_;
  bool newSong_;
  int song_ = 0;
};

}  // namespace tb::bench
