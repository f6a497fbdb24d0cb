<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>IndexDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Ottimizza memoria</translation>
    </message>
</context>
<context>
    <name>SongsListDialog</name>
    <message>
        <source>Save song list</source>
        <translation>Salva lista delle song</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Sfoglia</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Nome file:</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Chiudi</translation>
    </message>
</context>
</TS>
