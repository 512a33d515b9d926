#include "net/http_errors.h"

namespace holvex {

EConvertError::EConvertError(const std::string& text) : ENetException("'" + text + "' ist kein gültiger Integerwert") {}

EUnknownProtocol::EUnknownProtocol() : ENetException("") {}
EInvalidTransport::EInvalidTransport() : ENetException("Wert für IOHandler ist ungültig") {}
ENetError::ENetError() : ENetException("Undefined situation") {}
EHeaderTooLarge::EHeaderTooLarge() : ENetException("Der Kopf der Antwort ist zu groß.") {}
ETooManyInterimReplies::ETooManyInterimReplies() : ENetException("Zu viele Zwischenantworten des Servers.") {}
EIncompleteBody::EIncompleteBody()
    : ENetException("Die Verbindung wurde vor dem Ende der Antwort geschlossen.") {}
EBadChunk::EBadChunk() : ENetException("Ungültige Blockgröße in der Antwort.") {}
EInvalidUrl::EInvalidUrl() : ENetException("Die Adresse enthält ungültige Steuerzeichen.") {}

}  // namespace holvex
