// The order of what a player hears and sees: the intro over the title before
// the whole start-up wait, the outro on the first pass of a match's end, and
// shut-down silencing the sounds before the pictures and the window go.
//
// The game's calls of a few SDL and mixer functions pass through this file on
// their way to the libraries, and are written into a journal while a test
// records. Defining them here puts them ahead of the libraries for this test
// program only; the game itself is unchanged.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_run.h"

namespace {

// What happened, in order. A run of calls of one kind is one entry, so the
// journal shows the order of the groups, not every single call.
struct Journal {
  const Session* session = nullptr;  // tells the intro and outro from the cues
  bool recording = false;
  std::vector<std::string> entries;

  void start(const Session& s) {
    session = &s;
    recording = true;
    entries.clear();
  }
  void note(const std::string& what) {
    if (recording && (entries.empty() || entries.back() != what)) entries.push_back(what);
  }
};

Journal journal;

// Ends the recording when a test ends, however it ends.
struct Recording {
  ~Recording() { journal = Journal(); }
};

template <typename Function>
Function library(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

const char* soundKind(const Mix_Chunk* chunk) {
  if (journal.session == nullptr) return "cue";
  if (chunk == journal.session->bank.intro) return "intro";
  if (chunk == journal.session->bank.outro) return "outro";
  return "cue";
}

std::string joined(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += (text.empty() ? "" : ", ") + entry;
  return text;
}

}  // namespace

extern "C" {

int Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks) {
  static const auto play = library<int (*)(int, Mix_Chunk*, int, int)>("Mix_PlayChannelTimed");
  journal.note(soundKind(chunk));
  return play(channel, chunk, loops, ticks);
}

void Mix_FreeChunk(Mix_Chunk* chunk) {
  static const auto release = library<void (*)(Mix_Chunk*)>("Mix_FreeChunk");
  journal.note("sounds freed");
  release(chunk);
}

void SDL_DestroyTexture(SDL_Texture* texture) {
  static const auto release = library<void (*)(SDL_Texture*)>("SDL_DestroyTexture");
  journal.note("textures destroyed");
  release(texture);
}

void SDL_FreeSurface(SDL_Surface* surface) {
  static const auto release = library<void (*)(SDL_Surface*)>("SDL_FreeSurface");
  journal.note("surfaces freed");
  release(surface);
}

void SDL_DestroyRenderer(SDL_Renderer* renderer) {
  static const auto release = library<void (*)(SDL_Renderer*)>("SDL_DestroyRenderer");
  journal.note("renderer destroyed");
  release(renderer);
}

void SDL_DestroyWindow(SDL_Window* window) {
  static const auto release = library<void (*)(SDL_Window*)>("SDL_DestroyWindow");
  journal.note("window destroyed");
  release(window);
}

void Mix_Quit(void) {
  static const auto quit = library<void (*)()>("Mix_Quit");
  journal.note("mixer quit");
  quit();
}

void SDL_Quit(void) {
  static const auto quit = library<void (*)()>("SDL_Quit");
  journal.note("SDL quit");
  quit();
}

}  // extern "C"

TEST(Order, TheIntroStartsOverTheTitleAndTheWholeWaitFollowsBeforeTheCourt) {
  constexpr Uint32 kTitleLookMillis = 400;
  Recording recording;
  Session* session = nullptr;
  std::vector<Uint32> title;
  Uint32 waitedMillis = 0;
  int looksWithoutTheTitle = 0;
  Script script;
  script.onTitle = [&](Session& s) {
    session = &s;
    title = windowPixels(s);
    EXPECT_EQ(title, surfacePixels(s.game.startSurface)) << "the title is on the window";
    journal.start(s);
    journal.note("title");
    pushClick();
  };
  script.onWait = [&](Uint32 millis, bool startingUp) {
    if (!startingUp) return;
    journal.note("wait");
    // A look at the window now and then; the test's own reading stays out of the journal.
    if (waitedMillis % kTitleLookMillis == 0) {
      journal.recording = false;
      if (windowPixels(*session) != title) ++looksWithoutTheTitle;
      journal.recording = true;
    }
    waitedMillis += millis;
  };
  script.onCourt = [&](Session&) {
    journal.note("court");
    journal.recording = false;
  };
  script.beforeFrame = [](int, Session&) { pushEvent(SDL_QUIT); };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
  EXPECT_EQ(joined(journal.entries), "title, intro, wait, court");
  EXPECT_EQ(waitedMillis, 4800u) << "the whole wait, neither cut short nor longer";
  EXPECT_EQ(looksWithoutTheTitle, 0) << "the title stays up while the intro plays";
}

TEST(Order, TheOutroStartsOnTheFirstPassOfTheEndOfAMatchAndOnlyThen) {
  Recording recording;
  Script script;
  script.onCourt = [](Session& s) {
    s.game.computerScore = 10;
    journal.start(s);
  };
  script.beforeFrame = [](int frame, Session&) {
    journal.note("frame " + std::to_string(frame));
    if (frame == 3) pushEvent(SDL_QUIT);
  };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
  journal.recording = false;
  const std::vector<std::string> frames(journal.entries.begin(), journal.entries.begin() + 5);
  EXPECT_EQ(joined(frames), "frame 0, outro, frame 1, frame 2, frame 3");
}

TEST(Order, ShutDownSilencesTheSoundsThenReleasesPicturesRendererWindowAndLibraries) {
  Recording recording;
  Script script;
  script.beforeFrame = [](int frame, Session&) {
    if (frame == 1) pushEvent(SDL_QUIT);
  };
  script.afterFrame = [](int, Session& s) {
    if (s.game.quitRequested) journal.start(s);
  };
  script.onShutDown = [](Session&) { journal.recording = false; };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
  EXPECT_EQ(joined(journal.entries),
            "sounds freed, textures destroyed, surfaces freed, renderer destroyed, "
            "window destroyed, mixer quit, SDL quit");
}
