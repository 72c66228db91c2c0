// Linux's part of choosing the renderer (app/renderer_choice.h): a machine
// whose /dev holds no graphics device node has no graphics card, so OpenGL
// there could only draw on the processor, and the game takes SDL's software
// renderer without loading OpenGL first.
#pragma once

#include <string>
#include <vector>

// The device nodes in `devFolder` through which a program reaches a graphics
// card: dri/renderD*, dri/card* and nvidia*. A folder that cannot be read
// adds none.
std::vector<std::string> graphicsDeviceNodes(const std::string& devFolder = "/dev");

// True when OpenGL could only draw on the processor: no graphics device node,
// or Mesa told to draw in software (`libglAlwaysSoftware`,
// LIBGL_ALWAYS_SOFTWARE, true as Mesa reads it), and no renderer chosen
// (`chosenDriver`, as for shouldDrawInSoftware).
bool drawsInSoftwareFromTheStart(const std::vector<std::string>& deviceNodes,
                                 const char* libglAlwaysSoftware, const char* chosenDriver);
