#pragma once
// The launcher's pictures and icon, embedded into the executable at build time
// (assets/embed_assets.cmake writes the definitions from the files in assets/).
#include <span>

namespace qor::assets {

std::span<const unsigned char> BrochurePng();      // P1, 116 x 84
std::span<const unsigned char> DescriptionPng();   // P2, 118 x 82
std::span<const unsigned char> InstallPng();       // P3, 92 x 79
std::span<const unsigned char> ExitPng();          // P4, 136 x 94
std::span<const unsigned char> UpdatePng();        // P5, 77 x 79
std::span<const unsigned char> AdditionalPng();    // P6, 1336 x 466, drawn scaled
std::span<const unsigned char> PresentationsJpg(); // P7, 600 x 400
std::span<const unsigned char> IconPng();          // 32 x 32, 32 bits per pixel

}  // namespace qor::assets
