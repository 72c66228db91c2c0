// Which renderer the game draws with: SDL's software renderer takes the place
// of OpenGL on a software rasteriser, unless the player chose a renderer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/renderer_choice.h"
#include "linux/renderer_choice.h"

namespace {

TEST(RendererChoice, SoftwareRasterisersAreToldFromGraphicsCards) {
  const struct {
    const char* glRenderer;
    bool software;
  } cases[] = {
      {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"softpipe", true},
      {"Software Rasterizer", true},
      {"D3D12 (Microsoft Basic Render Driver)", true},
      {"virgl (LLVMPIPE (LLVM 15.0.6, 256 bits))", true},
      // Graphics cards, some with LLVM in their name: it compiles their shaders.
      {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
      {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"SVGA3D; build: RELEASE;  LLVM;", false},
      {"", false},
      {nullptr, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(namesSoftwareRasteriser(c.glRenderer), c.software)
        << (c.glRenderer ? c.glRenderer : "(null)");
  }
}

TEST(RendererChoice, OnlyOpenGLOnASoftwareRasteriserGivesWayAndOnlyUnchosen) {
  const char* llvmpipe = "llvmpipe (LLVM 15.0.6, 256 bits)";
  const struct {
    const char* renderer;
    const char* glRenderer;
    const char* chosen;
    bool software;
  } cases[] = {
      {"opengl", llvmpipe, nullptr, true},
      {"opengles2", llvmpipe, nullptr, true},
      {"opengl", llvmpipe, "", true},  // an empty choice is none, to SDL as to us
      {"opengl", llvmpipe, "opengl", false},
      {"opengl", llvmpipe, "software", false},
      {"opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", nullptr, false},
      {"software", nullptr, nullptr, false},
      {nullptr, llvmpipe, nullptr, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shouldDrawInSoftware(c.renderer, c.glRenderer, c.chosen), c.software)
        << (c.renderer ? c.renderer : "(null)") << " on "
        << (c.glRenderer ? c.glRenderer : "(null)") << ", chosen "
        << (c.chosen ? c.chosen : "(null)");
  }
}

TEST(RendererChoice, NoGraphicsDeviceMeansSoftwareFromTheStartUnlessARendererWasChosen) {
  const std::vector<std::string> none;
  const std::vector<std::string> card = {"/dev/dri/card0", "/dev/dri/renderD128"};
  const std::vector<std::string> nvidia = {"/dev/nvidia0"};
  const struct {
    const std::vector<std::string>& nodes;
    const char* libglAlwaysSoftware;
    const char* chosen;
    bool software;
  } cases[] = {
      {none, nullptr, nullptr, true},
      {none, nullptr, "", true},
      {none, nullptr, "opengl", false},  // a chosen renderer wins over everything
      {card, nullptr, nullptr, false},   // a graphics card: OpenGL is tried and checked
      {nvidia, nullptr, nullptr, false},
      {card, "1", nullptr, true},  // Mesa told to draw in software
      {card, "TRUE", nullptr, true},
      {card, "yes", nullptr, true},
      {card, "0", nullptr, false},
      {card, "", nullptr, false},
      {card, "1", "opengl", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(drawsInSoftwareFromTheStart(c.nodes, c.libglAlwaysSoftware, c.chosen), c.software)
        << c.nodes.size() << " device nodes, LIBGL_ALWAYS_SOFTWARE "
        << (c.libglAlwaysSoftware ? c.libglAlwaysSoftware : "(unset)") << ", chosen "
        << (c.chosen ? c.chosen : "(null)");
  }
}

// The listing looks only in the folder it is given: here folders made for the
// purpose, each a machine of its own.
TEST(RendererChoice, GraphicsDeviceNodesAreFoundInTheFolderGiven) {
  namespace fs = std::filesystem;
  const fs::path dev = fs::path(testing::TempDir()) / "vomba_dev";
  const struct {
    std::vector<std::string> files, nodes;  // made in the folder; found there
  } machines[] = {
      {{"dri/renderD128", "dri/card0", "dri/by-path/pci-card", "null"},
       {"dri/renderD128", "dri/card0"}},
      {{"dri/card1", "tty0"}, {"dri/card1"}},
      {{"nvidia0", "nvidiactl", "dri/controlD64"}, {"nvidia0", "nvidiactl"}},
      {{"null", "input/event0"}, {}},
      {{}, {}},  // no folder at all
  };
  for (const auto& machine : machines) {
    fs::remove_all(dev);
    for (const std::string& file : machine.files) {
      fs::create_directories((dev / file).parent_path());
      std::ofstream(dev / file).put('\n');
    }
    std::vector<std::string> expected;
    for (const std::string& node : machine.nodes) expected.push_back((dev / node).string());
    std::vector<std::string> found = graphicsDeviceNodes(dev.string());
    std::ranges::sort(expected);
    std::ranges::sort(found);
    EXPECT_EQ(found, expected) << testing::PrintToString(machine.files);
  }
  fs::remove_all(dev);
}

}  // namespace
