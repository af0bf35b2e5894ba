#include "texture/LoadTexture.h"

#include "platform/Messages.h"

// Placeholder until the readers land: every format is unknown.
HRESULT LoadTexture::DoLoadTexture(const std::string&, const std::string&)
{
    platform::ShowMessage("Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture",
                          "Erreur", platform::MessageKind::Warning);
    return E_FAIL;
}
