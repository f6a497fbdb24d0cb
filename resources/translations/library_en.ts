<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="it_IT">
<context>
    <name>FileCopier</name>
    <message>
        <source>il file non esiste più</source>
        <translation>the file no longer exists</translation>
    </message>
    <message>
        <source>la copia è incompleta (memoria piena?)</source>
        <translation>the copy is incomplete (is the memory full?)</translation>
    </message>
    <message>
        <source>impossibile rinominare la copia</source>
        <translation>the copy could not be renamed</translation>
    </message>
    <message>
        <source>la memoria è piena</source>
        <translation>the memory is full</translation>
    </message>
    <message>
        <source>il suo percorso sulla memoria sarebbe troppo lungo per il lettore</source>
        <translation>its path on the memory would be too long for the player</translation>
    </message>
    <message>
        <source>al suo posto c&apos;è una cartella: %1</source>
        <translation>a folder stands in its place: %1</translation>
    </message>
</context>
<context>
    <name>MemoryEject</name>
    <message>
        <source>La memoria %1 è stata espulsa: ora può essere rimossa.</source>
        <translation>The memory %1 has been ejected: it can now be taken out.</translation>
    </message>
    <message>
        <source>La memoria %1 non può essere espulsa perché è in uso: chiudere i programmi e le finestre che la usano e riprovare. Non rimuoverla prima.</source>
        <translation>The memory %1 cannot be ejected because it is in use: close the programs and windows using it and try again. Do not take it out before.</translation>
    </message>
    <message>
        <source>Espellere la memoria %1 dal desktop prima di rimuoverla.</source>
        <translation>Eject the memory %1 from the desktop before taking it out.</translation>
    </message>
    <message>
        <source>La memoria %1 non è stata espulsa (%2): espellerla dal desktop prima di rimuoverla.</source>
        <translation>The memory %1 was not ejected (%2): eject it from the desktop before taking it out.</translation>
    </message>
    <message>
        <source>Espelli la memoria</source>
        <translation>Eject the memory</translation>
    </message>
</context>
<context>
    <name>SongOutcome</name>
    <message>
        <source>non è stato possibile leggere il file</source>
        <translation>the file could not be read</translation>
    </message>
</context>
</TS>
