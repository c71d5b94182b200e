// The asset generator's parts. Each writes its files below the Assets directory
// given on the command line (the icon to the file named); all of them are
// deterministic (fixed seeds, no clock).
#pragma once

#include <string>

void writeSceneModels(const std::string& assets);   // Assets/scene: 14 OBJ + MTL + textures, default.png
void writeCameraRoute(const std::string& assets);   // Assets/scene/curve-controlpoints-handles.txt
void writeSkySphere(const std::string& assets);     // Assets/sphere.obj
void writeSkyFaces(const std::string& assets);      // Assets/skybox/iceflats_*.jpg
void writeParticleImages(const std::string& assets);// Assets/particle.bmp, fire atlas, plume image
void writeSounds(const std::string& assets);        // Assets/sound/*.mp3
void writeAppIcon(const std::string& file);         // the desktop icon, a 256 x 256 PNG
