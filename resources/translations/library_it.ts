<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>FileCopier</name>
    <message>
        <source>il file non esiste più</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la copia è incompleta (memoria piena?)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SongOutcome</name>
    <message>
        <source>non è stato possibile leggere il file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
