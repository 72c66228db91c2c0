// A renderer that makes the canvas but will not draw into it, as an OpenGL
// driver does when it cannot complete a framebuffer for the texture. No
// renderer on a machine without such a driver does that, so this program
// puts its own SDL_SetRenderTarget in front of SDL's: the game's code is
// linked into the program and SDL is a shared library, so every call the game
// makes comes here first and goes on to SDL's.
#pragma once

// False where the program cannot stand in for SDL's function (not Linux).
bool canRefuseRenderTargets();

// While one is alive, setting a texture as the target does what SDL does when
// its driver refuses: SDL takes the texture as its target all the same, and
// the answer is -1 with a reason. Setting the window as the target still works.
class RefusedRenderTargets {
 public:
  RefusedRenderTargets();
  ~RefusedRenderTargets();
  RefusedRenderTargets(const RefusedRenderTargets&) = delete;
  RefusedRenderTargets& operator=(const RefusedRenderTargets&) = delete;
};
