#include "present/pictures.h"

#include <filesystem>
#include <map>
#include <string_view>

namespace {

std::map<std::string_view, int>& loadCounts() {
  static std::map<std::string_view, int> counts;
  return counts;
}

std::string workingFolder() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string("the working directory") : folder.string();
}

std::string failure(const PictureFile& file, const std::string& reason) {
  return "Couldn't load \"" + std::string(file.name) + "\" from " + workingFolder() + ": " + reason;
}

}  // namespace

std::string loadPicture(SDL_Renderer* renderer, const PictureFile& file, SDL_Surface** surface,
                        SDL_Texture** texture) {
  *surface = nullptr;
  *texture = nullptr;
  SDL_RWops* stream = SDL_RWFromFile(file.name, "rb");
  if (stream == nullptr) return failure(file, SDL_GetError());
  SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
  if (loaded == nullptr) return failure(file, SDL_GetError());
  // Every rectangle and every erase relies on the pictures' exact sizes.
  if (loaded->w != file.widthPixels || loaded->h != file.heightPixels) {
    std::string reason = "it is " + std::to_string(loaded->w) + " x " + std::to_string(loaded->h) +
                         " pixels, not " + std::to_string(file.widthPixels) + " x " +
                         std::to_string(file.heightPixels);
    SDL_FreeSurface(loaded);
    return failure(file, reason);
  }
  if (file.colourKeyed) {
    SDL_SetColorKey(loaded, SDL_TRUE,
                    SDL_MapRGB(loaded->format, kKeyColour.r, kKeyColour.g, kKeyColour.b));
  }
  SDL_Texture* made = SDL_CreateTextureFromSurface(renderer, loaded);
  if (made == nullptr) {
    std::string reason = SDL_GetError();
    SDL_FreeSurface(loaded);
    return failure(file, reason);
  }
  *surface = loaded;
  *texture = made;
  ++loadCounts()[file.name];
  return {};
}

void makeBlankPicture(SDL_Renderer* renderer, const PictureFile& file, SDL_Surface** surface,
                      SDL_Texture** texture) {
  *surface = nullptr;
  *texture = nullptr;
  SDL_Surface* blank = SDL_CreateRGBSurfaceWithFormat(0, file.widthPixels, file.heightPixels, 32,
                                                      SDL_PIXELFORMAT_RGB888);
  if (blank == nullptr) return;
  SDL_FillRect(blank, nullptr, SDL_MapRGB(blank->format, 0, 0, 0));
  SDL_Texture* made = SDL_CreateTextureFromSurface(renderer, blank);
  if (made == nullptr) {
    SDL_FreeSurface(blank);
    return;
  }
  *surface = blank;
  *texture = made;
}

int picturesLoaded(const PictureFile& file) {
  auto found = loadCounts().find(file.name);
  return found == loadCounts().end() ? 0 : found->second;
}

void destroyTexture(SDL_Texture** texture) {
  if (*texture != nullptr) SDL_DestroyTexture(*texture);
  *texture = nullptr;
}

void freeSurface(SDL_Surface** surface) {
  SDL_FreeSurface(*surface);  // does nothing with null
  *surface = nullptr;
}
