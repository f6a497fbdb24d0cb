<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Informazioni</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Orvalo3 Soft</source>
        <translation>Orvalo3 Soft</translation>
    </message>
    <message>
        <source>Version:&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp; %1&lt;br/&gt;Build date: %2&lt;br/&gt;</source>
        <translation>Versione:&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp; %1&lt;br/&gt;Data di compilazione: %2&lt;br/&gt;</translation>
    </message>
    <message>
        <source>&amp;copy; 2015 &lt;a href=&quot;https://www.tavrel.it&quot;&gt;Tavrel&lt;/a&gt;. Tutti i diritti riservati.&lt;br/&gt;Orvalo3 e Orvalo3 Soft sono marchi di Tavrel.&lt;br/&gt;Assistenza: &lt;a href=&quot;mailto:support@tavrel.it&quot;&gt;support@tavrel.it&lt;/a&gt;</source>
        <translation>&amp;copy; 2015 &lt;a href=&quot;https://www.tavrel.it&quot;&gt;Tavrel&lt;/a&gt;. Tutti i diritti riservati.&lt;br/&gt;Orvalo3 e Orvalo3 Soft sono marchi di Tavrel.&lt;br/&gt;Assistenza: &lt;a href=&quot;mailto:support@tavrel.it&quot;&gt;support@tavrel.it&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>HelpDialog</name>
    <message>
        <source>Aiuto</source>
        <translation>Aiuto</translation>
    </message>
</context>
</TS>
