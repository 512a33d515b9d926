#include "net/net_errors.h"

#include <algorithm>
#include <iterator>

namespace holvex {

namespace {

struct Description {
  int code;
  const char* text;
};

constexpr Description kDescriptions[] = {
    {10004, "Unterbrochener Systemaufruf."},
    {10009, "Ungültige Dateinummer."},
    {10013, "Zugriff verweigert."},
    {10014, "Ungültige Adresse."},
    {10022, "Ungültiges Argument."},
    {10024, "Zu viele offene Dateien."},
    {10035, "Die Operation würde blockieren."},
    {10036, "Die Operation wird gerade ausgeführt."},
    {10037, "Die Operation wird bereits ausgeführt."},
    {10038, "Socket-Operation für ein Objekt, das kein Socket ist."},
    {10039, "Zieladresse erforderlich."},
    {10040, "Nachricht zu lang."},
    {10041, "Falscher Protokolltyp für den Socket."},
    {10042, "Ungültige Protokolloption."},
    {10043, "Protokoll wird nicht unterstützt."},
    {10044, "Socket-Typ wird nicht unterstützt."},
    {10045, "Operation wird vom Socket nicht unterstützt."},
    {10046, "Protokollfamilie wird nicht unterstützt."},
    {10047, "Adressfamilie wird von der Protokollfamilie nicht unterstützt."},
    {10048, "Die Adresse wird bereits verwendet."},
    {10049, "Die angeforderte Adresse kann nicht zugewiesen werden."},
    {10050, "Das Netzwerk ist ausgefallen."},
    {10051, "Das Netzwerk ist nicht erreichbar."},
    {10052, "Das Netzwerk hat die Verbindung beim Zurücksetzen getrennt."},
    {10053, "Die Software hat den Abbruch der Verbindung verursacht."},
    {10054, "Die Verbindung wurde von Peer zurückgesetzt."},
    {10055, "Kein Pufferspeicher verfügbar."},
    {10056, "Der Socket ist bereits verbunden."},
    {10057, "Der Socket ist nicht verbunden."},
    {10058, "Senden nach dem Herunterfahren des Sockets nicht möglich."},
    {10059, "Zu viele Verweise."},
    {10060, "Zeitüberschreitung bei Verbindung."},
    {10061, "Verbindung abgelehnt."},
    {10062, "Zu viele Ebenen symbolischer Verknüpfungen."},
    {10063, "Name zu lang."},
    {10064, "Der Host ist ausgefallen."},
    {10065, "Keine Route zum Host."},
    {10066, "Das Verzeichnis ist nicht leer."},
    {11001, "Host nicht gefunden."},
};

}  // namespace

std::string SocketErrorDescription(int code) {
  auto found = std::find_if(std::begin(kDescriptions), std::end(kDescriptions),
                            [code](const Description& d) { return d.code == code; });
  return found == std::end(kDescriptions) ? std::string() : found->text;
}

std::string SocketErrorMessage(int code) {
  return "Socket-Fehler # " + std::to_string(code) + "\r\n" + SocketErrorDescription(code);
}

ESocketError::ESocketError(int code) : ENetException(SocketErrorMessage(code)), code_(code) {}
EConnectFailed::EConnectFailed(int code) : ENetException(SocketErrorMessage(code)), code_(code) {}

EConnectTimeout::EConnectTimeout() : ENetException("Zeitüberschreitung der Verbindung.") {}
EReadTimeout::EReadTimeout() : ENetException("Zeitüberschreitung beim Lesen") {}
EConnClosedGracefully::EConnClosedGracefully()
    : ENetException("Die Verbindung wurde erfolgreich geschlossen.") {}
ENotConnected::ENotConnected() : ENetException("Nicht verbunden") {}
EAlreadyConnected::EAlreadyConnected() : ENetException("Verbindung besteht bereits.") {}
EMaxLineLengthExceeded::EMaxLineLengthExceeded() : ENetException("Max. Zeilenlänge überschritten.") {}
EInvalidSocket::EInvalidSocket() : ENetException("Socket kann nicht zugewiesen werden.") {}
ECouldNotBindSocket::ECouldNotBindSocket()
    : ENetException("Socket konnte nicht gebunden werden. Adresse und Port werden bereits benutzt.") {}
ESocketStackInitFailed::ESocketStackInitFailed() : ENetException("Fehler bei der Winsock-Initialisierung.") {}
EBodyTooLarge::EBodyTooLarge() : ENetException("Die Antwort ist zu groß.") {}

EWinsockLoadError EWinsockLoadError::LibraryNotLoaded(const std::string& library, std::uint32_t systemError) {
  return EWinsockLoadError("Fehler beim Laden einer Winsock2-Bibliothek (" + library + ")", systemError);
}

EWinsockLoadError EWinsockLoadError::FunctionNotFound(const std::string& function) {
  return EWinsockLoadError("Fehler beim Aufruf einer Winsock2-Bibliotheksfunktion " + function, 0);
}

}  // namespace holvex
