#include "host/parameter_cut.h"

#include <optional>

#include "common/failure_words.h"
#include "common/messages.h"
#include "exec/command_parameter.h"

namespace tuvex {

void RaiseIfTheBarCutACharacter(const char* parameter)
{
    const std::optional<CharacterCutByBar> cut = CharacterCutByTheBar(parameter);
    if (cut) {
        throw ErrorMessage(WithWords(cut->command + messages::kCutInsideCharacterAfterCommand,
                                     messages::kCutCharacterBefore + cut->character + messages::kCutCharacterAfter));
    }
}

}  // namespace tuvex
