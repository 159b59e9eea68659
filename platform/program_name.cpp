#include "platform/program_name.h"

namespace platform {
namespace {
const char* current = "velmorand";
}  // namespace

const char* program_name() { return current; }
void set_program_name(const char* name) { current = name; }

}  // namespace platform
