#!/usr/bin/env python3
"""Writes songs.sql, the readable source of the reference song catalogue.

The pieces come from catalogue_titles.py; each is listed in the versions
the catalogue carries (arrangements after different performers, each with its
own file name). Tempo, length, key and markers follow the genre's habits and
are derived from the title and performer with a stable hash, so running this
script again gives the same file.

    python3 make_songs_sql.py > songs.sql
"""
import hashlib
import re
import sys

from catalogue_titles import TITLES

# A person is "SURNAME|GIVEN NAMES"; anything else is a band or ensemble name.
# "A + B" credits two performers.
PERFORMERS = {
    "NAPOLETANA": ["MUROLO|ROBERTO", "CARUSO|ENRICO", "GIGLI|BENIAMINO", "SCHIPA|TITO",
                   "DI STEFANO|GIUSEPPE", "CORELLI|FRANCO", "PAVAROTTI|LUCIANO", "BRUNO|SERGIO",
                   "CAROSONE|RENATO", "TAGLIAVINI|FERRUCCIO", "NUOVA COMPAGNIA DI CANTO POPOLARE",
                   "MUROLO|ROBERTO + ARBORE|RENZO"],
    "FOLK ITALIANO": ["QUARTETTO CETRA", "NUOVA COMPAGNIA DI CANTO POPOLARE", "FERRI|GABRIELLA",
                      "BALISTRERI|ROSA", "CARTA|MARIA", "PROFAZIO|OTELLO", "MODUGNO|DOMENICO",
                      "MILVA", "CANZONIERE DEL LAZIO", "CORO DELLA SAT"],
    "CANTI ALPINI": ["CORO DELLA SAT", "CORO MONTE CAURIOL", "CORO STELUTIS", "CORO ANA MILANO",
                     "FANFARA DEI BERSAGLIERI", "CORO DOLOMITI"],
    "CLASSICA": ["WIENER PHILHARMONIKER", "BERLINER PHILHARMONIKER", "I SOLISTI VENETI", "I MUSICI",
                 "RUBINSTEIN|ARTUR", "HOROWITZ|VLADIMIR", "MICHELANGELI|ARTURO BENEDETTI",
                 "GOULD|GLENN", "HEIFETZ|JASCHA", "MENUHIN|YEHUDI", "CASALS|PABLO", "SEGOVIA|ANDRES",
                 "BERLINER PHILHARMONIKER + KARAJAN|HERBERT VON",
                 "ORCHESTRA DEL TEATRO ALLA SCALA + TOSCANINI|ARTURO"],
    "LIRICA": ["CALLAS|MARIA", "TEBALDI|RENATA", "CARUSO|ENRICO", "GIGLI|BENIAMINO",
               "PAVAROTTI|LUCIANO", "DEL MONACO|MARIO", "CORELLI|FRANCO", "BERGONZI|CARLO",
               "FRENI|MIRELLA", "SCOTTO|RENATA", "SCHIPA|TITO", "TAGLIAVINI|FERRUCCIO"],
    "SACRA": ["CORO DELLA CAPPELLA SISTINA", "KING'S COLLEGE CHOIR", "MORMON TABERNACLE CHOIR",
              "JACKSON|MAHALIA", "ANDERSON|MARIAN", "ROBESON|PAUL", "WIENER SANGERKNABEN",
              "PRICE|LEONTYNE", "ANDERSON|MARIAN + ROBESON|PAUL"],
    "SPIRITUAL": ["JACKSON|MAHALIA", "ROBESON|PAUL", "ANDERSON|MARIAN", "FISK JUBILEE SINGERS",
                  "GOLDEN GATE QUARTET", "SISTER ROSETTA THARPE", "THE STAPLE SINGERS",
                  "THE DIXIE HUMMINGBIRDS", "ARMSTRONG|LOUIS", "ODETTA"],
    "NATALE": ["CROSBY|BING", "SINATRA|FRANK", "WIENER SANGERKNABEN", "KING'S COLLEGE CHOIR",
               "COLE|NAT KING", "PRESLEY|ELVIS", "MORMON TABERNACLE CHOIR", "MATHIS|JOHNNY",
               "FITZGERALD|ELLA", "PICCOLO CORO DELL'ANTONIANO", "CROSBY|BING + THE ANDREWS SISTERS"],
    "FOLK": ["SEEGER|PETE", "GUTHRIE|WOODY", "BAEZ|JOAN", "PETER PAUL AND MARY", "THE KINGSTON TRIO",
             "THE WEAVERS", "ODETTA", "BELAFONTE|HARRY", "IVES|BURL", "COLLINS|JUDY",
             "THE CORRIES", "LAUDER|HARRY"],
    "IRISH FOLK": ["THE DUBLINERS", "THE CLANCY BROTHERS", "THE CHIEFTAINS", "MCCORMACK|JOHN",
                   "THE WOLFE TONES", "THE IRISH ROVERS", "MAKEM|TOMMY",
                   "THE CLANCY BROTHERS + MAKEM|TOMMY", "THE FUREYS"],
    "COUNTRY": ["THE CARTER FAMILY", "RODGERS|JIMMIE", "ACUFF|ROY", "MONROE|BILL", "WILLIAMS|HANK",
                "CASH|JOHNNY", "FLATT|LESTER + SCRUGGS|EARL", "WATSON|DOC", "ROBBINS|MARTY",
                "AUTRY|GENE"],
    "BLUES": ["SMITH|BESSIE", "RAINEY|MA", "HURT|MISSISSIPPI JOHN", "LEAD BELLY", "WATERS|MUDDY",
              "KING|B.B.", "WHITE|JOSH", "HOOKER|JOHN LEE", "BROONZY|BIG BILL", "HUNTER|ALBERTA",
              "ARMSTRONG|LOUIS + SMITH|BESSIE"],
    "DIXIELAND": ["ORIGINAL DIXIELAND JAZZ BAND", "PRESERVATION HALL JAZZ BAND", "KING OLIVER",
                  "MORTON|JELLY ROLL", "BECHET|SIDNEY", "BARBER|CHRIS", "BILK|ACKER", "HIRT|AL",
                  "FOUNTAIN|PETE", "DUTCH SWING COLLEGE BAND", "ARMSTRONG|LOUIS"],
    "JAZZ": ["ARMSTRONG|LOUIS", "FITZGERALD|ELLA", "HOLIDAY|BILLIE", "ELLINGTON|DUKE", "BASIE|COUNT",
             "GOODMAN|BENNY", "WALLER|FATS", "VAUGHAN|SARAH", "COLE|NAT KING",
             "GRAPPELLI|STEPHANE + REINHARDT|DJANGO", "FITZGERALD|ELLA + ARMSTRONG|LOUIS"],
    "RAGTIME": ["JOPLIN|SCOTT", "RIFKIN|JOSHUA", "NEW ENGLAND RAGTIME ENSEMBLE", "MORATH|MAX",
                "BLAKE|EUBIE", "WALLER|FATS", "MORTON|JELLY ROLL", "BOLCOM|WILLIAM"],
    "EVERGREEN": ["CROSBY|BING", "JOLSON|AL", "SINATRA|FRANK", "MARTIN|DEAN", "DAY|DORIS",
                  "THE ANDREWS SISTERS", "THE MILLS BROTHERS", "COMO|PERRY", "GARLAND|JUDY",
                  "ASTAIRE|FRED"],
    "VALZER": ["WIENER PHILHARMONIKER", "RIEU|ANDRE", "WELK|LAWRENCE", "MANTOVANI",
               "BOSTON POPS ORCHESTRA", "LAST|JAMES", "ORCHESTRA CASADEI", "WIENER SYMPHONIKER"],
    "POLKA": ["WIENER PHILHARMONIKER", "YANKOVIC|FRANKIE", "WELK|LAWRENCE", "ORCHESTRA CASADEI",
              "RIEU|ANDRE", "BOSTON POPS ORCHESTRA"],
    "TANGO": ["GARDEL|CARLOS", "ORQUESTA TIPICA VICTOR", "PIAZZOLLA|ASTOR", "TROILO|ANIBAL",
              "D'ARIENZO|JUAN", "CANARO|FRANCISCO", "PUGLIESE|OSVALDO", "DI SARLI|CARLOS"],
    "LATINO": ["TRIO LOS PANCHOS", "NEGRETE|JORGE", "INFANTE|PEDRO", "LOPEZ|TRINI",
               "MARIACHI VARGAS DE TECALITLAN", "CUGAT|XAVIER", "PRADO|PEREZ", "DOMINGO|PLACIDO"],
    "MARCE": ["UNITED STATES MARINE BAND", "BANDA DELL'ESERCITO ITALIANO", "FANFARA DEI BERSAGLIERI",
              "BANDA DELLA GUARDIA DI FINANZA", "BLACK DYKE BAND", "FENNELL|FREDERICK",
              "THE BAND OF THE COLDSTREAM GUARDS"],
    "BAMBINI": ["PICCOLO CORO DELL'ANTONIANO", "IVES|BURL", "SEEGER|PETE", "KAYE|DANNY",
                "LES PETITS CHANTEURS A LA CROIX DE BOIS", "CORO DI VOCI BIANCHE"],
    "WORLD": ["ALEXANDROV ENSEMBLE", "CHALIAPIN|FEODOR", "REBROFF|IVAN", "PIAF|EDITH",
              "MOUSKOURI|NANA", "COMEDIAN HARMONISTS", "TRENET|CHARLES", "MONTAND|YVES",
              "BRASSENS|GEORGES", "BELAFONTE|HARRY"],
}

# Tempo range, length range in seconds, beats per bar, section plan.
STYLE = {
    "NAPOLETANA": ((70, 120), (170, 260), 4, "song"),
    "FOLK ITALIANO": ((90, 140), (150, 230), 4, "song"),
    "CANTI ALPINI": ((70, 110), (140, 220), 4, "song"),
    "CLASSICA": ((60, 140), (180, 420), 4, "classic"),
    "LIRICA": ((56, 110), (160, 320), 4, "classic"),
    "SACRA": ((60, 96), (150, 260), 4, "hymn"),
    "SPIRITUAL": ((70, 130), (150, 240), 4, "song"),
    "NATALE": ((76, 140), (130, 220), 4, "song"),
    "FOLK": ((90, 150), (140, 230), 4, "song"),
    "IRISH FOLK": ((96, 160), (150, 240), 4, "song"),
    "COUNTRY": ((100, 170), (130, 200), 4, "song"),
    "BLUES": ((66, 120), (170, 280), 4, "blues"),
    "DIXIELAND": ((150, 220), (160, 260), 4, "jazz"),
    "JAZZ": ((110, 210), (160, 260), 4, "jazz"),
    "RAGTIME": ((80, 110), (150, 240), 2, "rag"),
    "EVERGREEN": ((90, 160), (140, 210), 4, "song"),
    "VALZER": ((150, 190), (180, 330), 3, "dance"),
    "POLKA": ((110, 140), (140, 200), 2, "dance"),
    "TANGO": ((60, 72), (160, 220), 4, "song"),
    "LATINO": ((90, 130), (150, 230), 4, "song"),
    "MARCE": ((104, 124), (140, 220), 2, "march"),
    "BAMBINI": ((90, 130), (70, 140), 4, "hymn"),
    "WORLD": ((80, 150), (150, 240), 4, "song"),
}

# Section labels in playing order; the last one closes the piece.
PLANS = {
    "song": (["Intro"], ["Verse", "Chorus", "Verse", "Chorus", "Solo", "Chorus"], "Ending"),
    "classic": (["Intro"], ["Theme", "Variation", "Theme", "Development", "Reprise"], "Coda"),
    "hymn": (["Intro"], ["Verse", "Verse", "Verse", "Verse"], "Ending"),
    "blues": (["Intro"], ["Verse", "Verse", "Solo", "Verse", "Solo", "Verse"], "Ending"),
    "jazz": (["Intro"], ["Theme", "Solo", "Solo", "Bridge", "Theme", "Chase"], "Ending"),
    "rag": (["Intro"], ["A", "A", "B", "B", "A", "Trio", "Trio", "D"], "Ending"),
    "dance": (["Intro"], ["A", "B", "A", "C", "A", "Trio"], "Finale"),
    "march": (["Intro"], ["First strain", "Second strain", "Trio", "Break", "Trio"], "Ending"),
}

SHARPS = ["C", "G", "D", "A", "E", "F", "Bb", "Eb"]


def stable(*parts):
    return int(hashlib.sha1("|".join(parts).encode("utf-8")).hexdigest(), 16)


def person_forms(credit):
    """Returns (catalogue form, display form) of one credit."""
    names = [n.strip() for n in credit.split("+")]
    sur_first, given_first = [], []
    for n in names:
        if "|" in n:
            surname, given = n.split("|")
            sur_first.append(surname + " " + given)
            given_first.append(given + " " + surname)
        else:
            sur_first.append(n)
            given_first.append(n)
    artist = " - ".join(sur_first)
    # Duets are shown with the second performer first, as their records are.
    alt = " - ".join(reversed(given_first)) if len(given_first) > 1 else given_first[0]
    return artist, alt


def mixed_case(title):
    words = []
    for w in title.split(" "):
        lower = w.lower()
        for i, ch in enumerate(lower):
            if ch.isalpha():
                lower = lower[:i] + ch.upper() + lower[i + 1:]
                break
        words.append(lower)
    return " ".join(words)


def file_base(title):
    words = re.sub(r"[^A-Z0-9 ]", "", title.upper().replace("'", "")).split()
    base = "".join(words)[:6]
    return base or "SONG"


def markers_text(plan, bpm, length, beats, h):
    if h % 4 == 0:
        return None
    intro, body, ending = PLANS[plan]
    total_bars = max(8, length * bpm // (60 * beats))
    intro_bars = 4 if h % 3 else 8
    section = 16 if plan in ("rag", "dance", "march") else (12 if plan == "blues" else 8 * (1 + h % 2))
    fields, bar = [], 1
    for label in intro:
        fields += [str(bar), label]
        bar += intro_bars
    for label in body:
        if bar + section > total_bars - 4:
            break
        fields += [str(bar), label]
        bar += section
    fields += [str(bar), ending]
    return ";".join(fields) + ";"


def sql_text(value):
    if value is None:
        return "NULL"
    return "'" + value.replace("'", "''") + "'"


def main():
    rows, used = [], set()
    for genre, block in TITLES.items():
        (bpm_lo, bpm_hi), (len_lo, len_hi), beats, plan = STYLE[genre]
        pool = PERFORMERS[genre]
        for line in block.strip().split("\n"):
            parts = [p.strip() for p in line.split("|")]
            title, author = parts[0], parts[1]
            key = parts[2] if len(parts) > 2 else ""
            h = stable(genre, title)
            # Most pieces come in a few arrangements; some in one only.
            versions = (1, 2, 2, 3, 4)[h % 5]
            base_bpm = bpm_lo + h % (bpm_hi - bpm_lo + 1)
            # Each version follows a different performer of the genre.
            credits = sorted(pool, key=lambda c: stable(genre, title, c))[:versions]
            for v, credit in enumerate(credits):
                artist, alt = person_forms(credit)
                hv = stable(genre, title, credit)
                bpm = max(40, base_bpm + (hv % 9) - 4)
                length = len_lo + hv % (len_hi - len_lo + 1)
                song_key = key
                if v > 0 and hv % 5 == 0:
                    # Transposed arrangement, a tone lower or higher.
                    song_key = SHARPS[(SHARPS.index(key.split(" ")[0]) + 1) % len(SHARPS)] + \
                        (" -" if key.endswith(" -") else "") if key.split(" ")[0] in SHARPS else key
                if hv % 23 == 0:
                    song_key = ""
                shown = mixed_case(title) if hv % 89 == 0 else title
                base = file_base(title)
                n = 1
                while True:
                    name = "%s%02d" % (base, n)
                    if name not in used:
                        break
                    n += 1
                used.add(name)
                rows.append((shown, artist, genre, author, length, bpm, song_key, name,
                             markers_text(plan, bpm, length, beats, hv), alt))
    out = sys.stdout
    out.write("-- Reference song catalogue. Written by make_songs_sql.py from catalogue_titles.py;\n")
    out.write("-- edit the lists there and run the script again.\n")
    out.write("PRAGMA page_size=4096;\nBEGIN TRANSACTION;\n")
    out.write("CREATE TABLE Songs(title varchar, artist varchar, genre varchar, author varchar, "
              "length integer, bpm integer, key varchar, filename varchar primary key, "
              "markers varchar, altartist varchar);\n")
    for r in rows:
        out.write("INSERT INTO Songs VALUES(%s,%s,%s,%s,%d,%d,%s,%s,%s,%s);\n" % (
            sql_text(r[0]), sql_text(r[1]), sql_text(r[2]), sql_text(r[3]), r[4], r[5],
            sql_text(r[6]), sql_text(r[7]), sql_text(r[8]), sql_text(r[9])))
    # The lookups compare with LIKE, which folds ASCII case: NOCASE indexes let
    # SQLite answer them without scanning the table.
    out.write("CREATE INDEX songs_filename_nocase ON Songs(filename COLLATE NOCASE);\n")
    out.write("CREATE INDEX songs_title_nocase ON Songs(title COLLATE NOCASE);\n")
    out.write("COMMIT;\n")
    sys.stderr.write("%d songs\n" % len(rows))


if __name__ == "__main__":
    main()
