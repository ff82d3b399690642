#pragma once

#include <string>
#include <vector>

#include "model/vec3.h"

// The records of a design and of its constructed stone.
//
// Model coordinates: z is the stone's axis (+z toward the table), the origin lies
// on the axis where crown and pavilion meet, and the girdle outline's corners lie
// at radius 1. Slopes are in degrees from the girdle plane.

namespace brillora {

// A corner of the stone.
using TVertex = Vec3;

struct TFacet {
  double Nx = 0.0;  // unit outward normal
  double Ny = 0.0;
  double Nz = 0.0;
  double D = 0.0;          // plane: Nx x + Ny y + Nz z = D
  std::vector<int> Points;  // indices into the stone's vertices, counter-clockwise from outside
  int Step = 0;            // position of the facet's step from the culet (0) to the table
};

inline Vec3 NormalOf(const TFacet& f) { return {f.Nx, f.Ny, f.Nz}; }

// How far p lies outside the facet's plane (negative inside), evaluated as the
// construction's inside test evaluates it.
inline double Excess(const TFacet& f, Vec3 p) { return f.Nx * p.x + f.Ny * p.y + f.Nz * p.z - f.D; }

// One tier of facets.
struct TStep {
  int Shift = 0;       // rotation in gear notches, cumulative along the array
  int Split = 0;       // 0: one facet per sector; s > 0: two, at -s and +s notches
  double Posit = 0.0;  // next tier's starting apothem over this one's
  double Angle = 0.0;  // slope in degrees
  bool Auto = false;   // slope derived so that the facets meet the previous tier in points
  std::vector<TFacet> Facets;
};

// One side of the stone: element 0 is the table (crown) or culet (pavilion),
// elements 1 .. size-2 are the tiers from the girdle inward, and the last element
// is the "New" placeholder that never becomes part of the stone.
using MasStep = std::vector<TStep>;

// What a design file holds besides the refractive index.
struct Design {
  int SymOrder = 8;
  int GearNotches = 96;
  MasStep CrownSteps;
  MasStep PavilionSteps;
};

// Facets with their polygons and the vertices they share. A built stone is an
// immutable value: readers in other threads may hold it while a new one is built.
struct Stone {
  std::vector<TVertex> AllVertices;
  std::vector<TFacet> AllFacets;  // culet first, table last
};

}  // namespace brillora
