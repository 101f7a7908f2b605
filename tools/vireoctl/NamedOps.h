// The register maps' operations by name, for the "ops" and "call" commands: which operations a
// camera model has, how many arguments each takes, and running one on a register map.
#pragma once

#include "camera/RVXReg.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vireoctl {

// The three register maps; both RVQM52 models share one.
enum class MapKind { RV1240, RV1250, RVQM52 };

std::optional<MapKind> MapOfModel(const std::string& model);
std::unique_ptr<CRVXReg> MakeMap(MapKind kind, CComIF* comIF);

// Runs a bound operation on a map of its kind; on success its outputs are appended, one text
// each, in order. Returns the operation's result.
using BoundOp = std::function<CResult(CRVXReg& map, std::vector<std::string>& outputs)>;

struct NamedOp {
    std::string name;
    std::size_t arity = 0;
    // Takes the command line's arguments; empty when they do not fit the operation.
    std::function<BoundOp(const std::vector<std::string>& args)> bind;
    // What is wrong with an argument bind refuses ("99999 is outside 0..65535"); empty when
    // none is.
    std::function<std::string(const std::vector<std::string>& args)> check;
};

// Why bind refuses the arguments: their number, else the first argument that does not fit.
std::string ArgumentProblem(const NamedOp& op, const std::vector<std::string>& args);

// The common operations in slot order, then the model's own.
const std::vector<NamedOp>& OperationsOf(MapKind kind);
const NamedOp* FindOperation(MapKind kind, const std::string& name);

} // namespace vireoctl
