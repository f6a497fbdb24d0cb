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
</context>
<context>
    <name>SongOutcome</name>
    <message>
        <source>non è stato possibile leggere il file</source>
        <translation>the file could not be read</translation>
    </message>
</context>
</TS>
