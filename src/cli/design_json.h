#pragma once

#include <iosfwd>

#include <nlohmann/json.hpp>

#include "model/design.h"

namespace brillora::cli {

// Keys keep the order they are written in, so that the output reads as documented.
using Json = nlohmann::ordered_json;

// Prints one JSON value on a line of its own, indented by two. Texts from
// files and file names may hold any bytes: whatever is not UTF-8 becomes the
// replacement character, so that no text can stop a command's output.
void PrintJson(std::ostream& out, const Json& json);

// The tiers of one side as constructed: elements 1 .. n, without the table or
// culet and without the placeholder.
Json TiersJson(const MasStep& steps);

// Symmetry, gear, both sides' tiers and the stone's counts and heights.
Json DesignJson(const Design& design, const Stone& stone);

// Every facet of the stone in construction order with its plane and polygon.
Json FacetListJson(const Stone& stone);

}  // namespace brillora::cli
