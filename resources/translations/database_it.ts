<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>UserSongsRelTableModel</name>
    <message>
        <source>Tonalita&apos;</source>
        <translation>Tonalità</translation>
    </message>
    <message>
        <source>Num</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Formato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titolo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Artista</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Genere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Autore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Durata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bpm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nome file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stato</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
