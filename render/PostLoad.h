// What a load does once the file has been read: textures, boxes, triangles,
// normals, and the data of every draw path.
#pragma once

class Model;

// The steps after a successful read, in their fixed order. The normals
// command also builds the render arrays and buffer objects; the last two
// steps build them once more, as the load always has.
void PrepareLoadedModel(Model& model);
