#include "facts.h"

#include <sstream>

#include "game/ball_rules.h"
#include "game/frame_period.h"
#include "game/paddle_rules.h"
#include "present/sheet_layout.h"
#include "present/window.h"

namespace assets {
namespace {

std::string json(const PixelColour& c) {
  return "[" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + "]";
}

std::string json(const PixelRect& r) {
  return "[" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) +
         ", " + std::to_string(r.h) + "]";
}

std::string json(const SDL_Rect& r) {
  return json(PixelRect{r.x, r.y, r.w, r.h});
}

}  // namespace

std::string describeGameFiles() {
  std::ostringstream out;
  out << "{\n"
      << "  \"window\": {\"title\": \"" << kWindowTitle << "\", \"place\": [" << kWindowScreenX
      << ", " << kWindowScreenY << "], \"size\": [" << kWindowWidthPixels << ", "
      << kWindowHeightPixels << "]},\n"
      << "  \"key_colour\": " << json(kKeyColour) << ",\n"
      << "  \"court_colour\": " << json(kCourtColour) << ",\n"
      << "  \"court\": [" << kCourtWidthPixels << ", " << kCourtHeightPixels << "],\n"
      << "  \"paddle\": [" << kPaddleWidthPixels << ", " << kPaddleHeightPixels << "],\n"
      << "  \"ball_size\": " << kBallSizePixels << ",\n"
      << "  \"play\": {\n"
      << "    \"frame_millis\": " << kFrameMillis << ",\n"
      << "    \"ball_start\": " << json(kBallStart) << ",\n"
      << "    \"ball_serve\": "
      << json(PixelRect{kServeXPixels, kServeYPixels, kBallSizePixels, kBallSizePixels}) << ",\n"
      << "    \"computer_column\": "
      << json(PixelRect{kComputerPaddleXPixels, 0, kPaddleWidthPixels, kCourtHeightPixels})
      << "\n  },\n"
      << "  \"sheet\": {\n    \"digits\": [";
  for (int digit = 0; digit <= 9; ++digit) out << (digit ? ", " : "") << json(digitCell(digit));
  out << "],\n"
      << "    \"you_win\": " << json(kYouWinStrip) << ",\n"
      << "    \"you\": " << json(kYouCell) << ",\n"
      << "    \"lose\": " << json(kLoseCell) << ",\n"
      << "    \"ende\": " << json(kEndeBox) << ",\n"
      << "    \"weiter\": " << json(kWeiterStrip) << "\n  },\n"
      << "  \"screen\": {\n"
      << "    \"player_units\": " << json(kPlayerUnits) << ",\n"
      << "    \"player_tens\": " << json(kPlayerTens) << ",\n"
      << "    \"computer_units\": " << json(kComputerUnits) << ",\n"
      << "    \"computer_zero_of_ten\": " << json(kComputerZeroOfTen) << ",\n"
      << "    \"player_banner\": " << json(kPlayerBanner) << ",\n"
      << "    \"computer_you\": " << json(kComputerYou) << ",\n"
      << "    \"computer_lose\": " << json(kComputerLose) << ",\n"
      << "    \"weiter_button\": " << json(kWeiterButton) << ",\n"
      << "    \"ende_button\": " << json(kEndeButton) << "\n  }\n}\n";
  return out.str();
}

}  // namespace assets
