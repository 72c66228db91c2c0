// The six pictures: their names, their sizes, and one loader for all of them.
#pragma once

#include <SDL.h>

#include <string>

struct PictureFile {
  const char* name;
  int widthPixels;
  int heightPixels;
  bool colourKeyed;  // sprites: magenta becomes transparent
};

inline constexpr PictureFile kTitlePicture{"Start.bmp", 600, 400, false};
inline constexpr PictureFile kCourtPicture{"pong.bmp", 600, 400, false};
inline constexpr PictureFile kPlayerPicture{"vombaGruen.bmp", 60, 90, true};
inline constexpr PictureFile kComputerPicture{"vombaLILA.bmp", 60, 90, true};
inline constexpr PictureFile kBallPicture{"ball.bmp", 36, 36, true};
inline constexpr PictureFile kSheetPicture{"scoreboard..bmp", 612, 359, true};

// Loads a picture from the working directory into *surface and *texture
// (colour key first, for sprites). On failure both stay null and the answer is
// a one-line message naming the file and the folder; on success it is empty.
std::string loadPicture(SDL_Renderer* renderer, const PictureFile& file, SDL_Surface** surface,
                        SDL_Texture** texture);

// A black picture of the file's size, for a whole-window picture that cannot be
// read. Both stay null if even that cannot be made.
void makeBlankPicture(SDL_Renderer* renderer, const PictureFile& file, SDL_Surface** surface,
                      SDL_Texture** texture);

// How many times a picture has been read successfully since the program began.
int picturesLoaded(const PictureFile& file);

// Release one field and set it to null; null fields are left alone.
void destroyTexture(SDL_Texture** texture);
void freeSurface(SDL_Surface** surface);
