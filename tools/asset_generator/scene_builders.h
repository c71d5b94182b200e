// Builders of the scene's fourteen models, each returning the whole content of
// one OBJ file (with its materials).
#pragma once

#include "scene_mesh.h"

SceneMesh buildRoom();        // test-room-fireplace.obj
SceneMesh buildCurtains();    // curtains.obj
SceneMesh buildPictures();    // test-pictures.obj
SceneMesh buildSofa();        // test-sofa.obj
SceneMesh buildBlanket();     // test-decke.obj
SceneMesh buildTables();      // test-table.obj
SceneMesh buildBookGlasses(); // test-book-glasses.obj
SceneMesh buildCigar();       // test-cigar.obj
SceneMesh buildCats();        // scene-cats.obj
SceneMesh buildMantelCandles(); // scene-penis.obj
SceneMesh buildSideCandle();  // morepenis.obj
SceneMesh buildTreeBranches(); // test-branches.obj
SceneMesh buildTreeDecor();   // test-tree-decor.obj
SceneMesh buildPresents();    // test-presents.obj
