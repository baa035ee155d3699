#pragma once

#include "SenderIdentity.h"

#include <QString>

// The Linux program's own settings beside the program: "Nom=", "Adresse=",
// "Commande=", and the account's "Serveur=", "Port=", "Securite=" (starttls,
// tls or aucune), "Identifiant=" and "Empreinte=" lines, in the same text form
// as the other settings file. An empty "Serveur=" means the sendmail command.
QString SenderFilePath(const QString &programDir);
// An empty identity when the file is missing or unreadable.
SenderIdentity LoadSender(const QString &path);
// All or nothing; false when the file could not be written.
bool SaveSender(const QString &path, const SenderIdentity &sender);
