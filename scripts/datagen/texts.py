"""The program's text files, in its 8-bit character set: the publish dialog's lines and the default
destination in "Data", the provider file of "FDA" and the example link lists. Nothing here names a real
server or person: hosts are on the reserved ".invalid" domain, links on example.org."""

CRLF = "\r\n"


def _cp(text):
    return text.encode("cp1252")


def data_texts():
    return {
        # The two lines over the provider pop-up of the publish dialog.
        "Data/2000.txt": _cp("Choisis ton fournisseur d'accès dans la liste.\n"
                             "S'il n'y est pas, choisis Personnaliser et tape son adresse."),
        # The default destination: a scheme word, ":/", the host, then the path on the server. No account
        # or password files: the dialog then offers "compte" and "mot de passe" to be replaced.
        "Data/1000.txt": _cp("ftp:/ftp.exemple.invalid/sites"),
    }


def provider_file():
    lines = [
        "1",
        "// Fournisseurs d'accès : une ligne par fournisseur, quatre parties séparées par |",
        "// nom|hôte FTP|dossier sur le serveur|adresse Web du site ; %1 y devient le nom du compte.",
        "// Cet exemple ne mène nulle part : remplace-le par ton fournisseur.",
        "Exemple|ftp.exemple.invalid|/sites/%1|http://www.exemple.invalid/~%1",
    ]
    return _cp(CRLF.join(lines) + CRLF)


def link_files():
    web = [
        "// Liens Web : un nom, une tabulation, puis l'adresse sans http:",
        "// Les adresses example.org sont réservées aux exemples.",
        "Site d'exemple\twww.example.org",
        "Page de démonstration\twww.example.org/demo.html",
    ]
    mail = [
        "// Liens Email : un nom, une tabulation, puis l'adresse.",
        "// Les adresses example.org sont réservées aux exemples.",
        "Adresse d'exemple\tbonjour@example.org",
    ]
    return {"LNWEB/exemples.txt": _cp(CRLF.join(web) + CRLF), "LNEMAIL/exemples.txt": _cp(CRLF.join(mail) + CRLF)}


def all_texts():
    out = dict(data_texts())
    out["FDA/exemple.txt"] = provider_file()
    out.update(link_files())
    return out
