<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="it_IT">
<context>
    <name>UserSongsRelTableModel</name>
    <message>
        <source>Num</source>
        <translation>Num</translation>
    </message>
    <message>
        <source>Formato</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Titolo</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Artista</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>Genere</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Autore</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>Durata</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Bpm</source>
        <translation>Bpm</translation>
    </message>
    <message>
        <source>Tonalita&apos;</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Nome file</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>Stato</source>
        <translation>Status</translation>
    </message>
</context>
</TS>
