<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>CliCommands</name>
    <message>
        <source>non fatto: lavoro interrotto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non è una cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la cartella %1 non esiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>memoria occupata: un trasferimento o un aggiornamento dell&apos;indice è già in corso su %1; riprovare quando è terminato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non è su una memoria rimovibile: indicarne la cartella principale con --memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: copiata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: mantenuto il file con lo stesso nome già presente (--replace lo sostituisce)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>non copiata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non è nella memoria %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>non è possibile copiare i file nella cartella principale e la cartella songs non si può creare: indicare una sottocartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>le cartelle BRIDGE, SFX e PLAYLIST sono riservate a funzioni specifiche del lettore: indicare un&apos;altra cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>indice della memoria %1 aggiornato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l&apos;indice della memoria %1 non si è potuto aggiornare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>indice di %1 ricostruito: %2 file di song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>indice di %1 aggiornato: %2 file di song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>non si può creare un file temporaneo: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la lista non si è potuta scrivere sullo standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non ha un indice completo: la memoria non è preparata per Orvalo (index rebuild lo crea)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>errore durante la creazione della lista: l&apos;indice di %1 non si può leggere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>errore durante la creazione del file %1: l&apos;indice non si può leggere o il file non si può scrivere</source>
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
        <source>Interprete</source>
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
        <source>BPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tonalità</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Del produttore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sì</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file non trovato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>è una cartella, non un file di song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il file non si può leggere (permesso negato)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>non è un file di song in un formato conosciuto, o è danneggiato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il file non si è potuto scrivere; è rimasto com&apos;era</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: salvata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il catalogo delle song non si può aprire</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: nessun cambiamento</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: già completa, nessun cambiamento</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: cambierebbe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: completata dal catalogo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: non è nel catalogo, lasciata com&apos;è</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: non è una song del produttore, lasciata com&apos;è (--all la completa)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la cartella del backup non si può creare in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(index rebuild lo ricostruisce)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>è nell&apos;indice, ma il file non c&apos;è più</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>è cambiata dopo l&apos;ultimo aggiornamento dell&apos;indice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>è sulla memoria, ma non nell&apos;indice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il lettore non potrà aprirla: il suo nome contiene caratteri che non sa leggere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: l&apos;indice non è completo: %2 (index rebuild lo crea)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: l&apos;indice è danneggiato: %2 (index rebuild lo ricostruisce)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: l&apos;indice non è al passo con le song (index update lo aggiorna)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>indice di %1 in ordine: %2 file di song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il lettore non sa leggere il nome della cartella &quot;%1&quot; (caratteri speciali o punto iniziale): indicare un&apos;altra cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: copiata come %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la memoria %1 è piena: %2 song non sono state copiate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non è una memoria rimovibile: non è stata espulsa</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>attenzione: un salvataggio interrotto ha lasciato la copia %1, che contiene la sua song com&apos;era prima; se la song è a posto, eliminala</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CliHelp</name>
    <message>
        <source>Prepara song e memorie di Orvalo3 dal terminale: i lavori del programma, senza la sua finestra</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>orvalo3soft-cli fa dal terminale o da uno script quello che fa la finestra di Orvalo3 Soft: legge e modifica i dati delle song, le completa dal catalogo del produttore, ne fa il backup, le copia sulla memoria del lettore (Compact Flash o penna USB), ricostruisce, aggiorna o controlla l&apos;indice di una memoria e ne scrive la lista delle song. Ogni lavoro è quello della finestra, con le stesse regole; non viene mai posta alcuna domanda: le risposte sono le opzioni.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mostra i dati delle song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legge ogni file di song e ne mostra i dati come testo allineato, oppure, con --json, un oggetto JSON per riga con le chiavi file, format, title, artist, genre, author, length (secondi), bpm, key, markers (una lista di {&quot;bar&quot;, &quot;text&quot;}) e maker (true per le song del produttore). Un file che non si può leggere dà {&quot;file&quot;, &quot;error&quot;}.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un oggetto JSON per riga</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modifica a mano i dati delle song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrive i dati indicati in ogni file di song con le regole dell&apos;editor delle song della finestra. Un&apos;opzione data come &quot;&quot; cancella il suo dato; un dato senza la sua opzione resta com&apos;è.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>titolo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interprete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>genere musicale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>autore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>durata: fino a due cifre di minuti e due di secondi (3:75 vale 4:15)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tempo in battiti al minuto, fino a tre cifre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tonalità, una di: %1 (il segno - indica le tonalità minori)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Completa le song dal catalogo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cerca ogni song nel catalogo del produttore per nome del file, nome lungo MFx o titolo e ne scrive i dati nel file, come la sincronizzazione della finestra. Le song che non sono del produttore restano invariate se non si dà --all; una song che non è nel catalogo resta com&apos;è.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mostra cosa cambierebbe in ogni song (valore vecchio e nuovo di ogni dato) e non scrive nulla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>completa anche le song che non sono del produttore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fa il backup delle song in una nuova cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copia le song in una nuova cartella backup_tavrel_&lt;data&gt;_&lt;ora&gt; creata in FOLDER, come il backup della finestra, e ne scrive il percorso.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la cartella in cui creare la cartella del backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copia le song su una memoria del lettore e ne aggiorna l&apos;indice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la cartella della memoria in cui copiare le song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sostituisce i file con lo stesso nome già presenti</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mantiene i file con lo stesso nome già presenti (predefinito)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la cartella principale della memoria, dove si trova il suo indice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ricostruisce, aggiorna o controlla l&apos;indice di una memoria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lavora sui file dell&apos;indice nella cartella principale MEMORY di una memoria del lettore. rebuild riscrive l&apos;indice da tutti i file di song; update rilegge solo le song nuove o modificate e toglie quelle sparite; check non scrive nulla e dice se i sette file dell&apos;indice concordano tra loro e con le song sulla memoria (song mancanti, nuove o modificate, indice danneggiato, song che il lettore non può aprire).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrive la lista delle song di una memoria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrive la lista delle song dell&apos;indice di MEMORY, una riga per song con titolo, interprete e percorso separati da &quot;;&quot;, come la lista delle song della finestra, sullo standard output o in FILE.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ordina per titolo (predefinito) o per interprete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>scrive in FILE invece che sullo standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mostra questo aiuto; dopo un comando, l&apos;aiuto del comando</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mostra la versione del programma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stato di uscita</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 quando tutto il lavoro richiesto è stato fatto (una song che non è nel catalogo, o lasciata invariata dalle opzioni, conta come fatta); 1 quando una parte non è stata fatta, con ogni song interessata nominata sullo standard error insieme al motivo, e quando index check trova un problema; 2 per un uso sbagliato del comando.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memorie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lingua e avanzamento</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le preferenze sono in ~/.config/tavrel/orvalo3soft.conf (su macOS ~/Library/Preferences/com.tavrel.orvalo3soft.plist); con logenabled=true il programma aggiunge il suo log al file log.txt della cartella corrente.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uso: %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Per saperne di più: %1 --help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COMANDO [OPZIONE]... ARGOMENTO...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comandi:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opzioni:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I messaggi sono nella lingua scelta nelle preferenze del programma (menu Preferenze &gt; Lingua della finestra) o, se non ne è stata scelta nessuna, in quella del sistema. Mentre lavora, il programma mostra una riga di avanzamento sullo standard error quando questo è un terminale. Ctrl+C ferma il lavoro dopo la song in corso; un lavoro sull&apos;indice va fino in fondo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File e preferenze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copia le song nella cartella DESTINATION di una memoria del lettore, poi ne aggiorna l&apos;indice, come il trasferimento della finestra. Se DESTINATION è la cartella principale della memoria, le song vanno nella sua cartella &quot;songs&quot;; le cartelle BRIDGE, SFX e PLAYLIST sono rifiutate, e così una cartella il cui nome il lettore non sa leggere. La cartella principale della memoria è ROOT se si dà --memory; altrimenti quella della memoria rimovibile che contiene DESTINATION; altrimenti il punto di montaggio di DESTINATION, purché non sia la radice &quot;/&quot; del sistema. Ogni song prende sulla memoria un nome che la memoria (FAT32) e l&apos;indice del lettore sanno tenere: i caratteri rifiutati diventano &quot;_&quot;, le lettere di altri alfabeti lettere latine; due song che avrebbero lo stesso nome, maiuscole e minuscole a parte, sono numerate (&quot;nome (2).mid&quot;); il file sul computer resta com&apos;è. Resta sempre libero lo spazio per l&apos;indice: quando la memoria è piena il trasferimento si ferma, senza lasciare song copiate a metà, e l&apos;indice viene aggiornato con le song copiate. Non viene chiesto nulla: un file di song con lo stesso nome già presente viene mantenuto se non si dà --replace.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>alla fine espelle la memoria rimovibile, che si può poi togliere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dopo rebuild o update espelle la memoria rimovibile, che si può poi togliere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Durante un trasferimento o un lavoro sull&apos;indice la memoria è bloccata da un file nascosto .orvalo3soft.lock nella sua cartella principale, dalla finestra come dal terminale: un secondo lavoro sulla stessa memoria termina con &quot;memoria occupata&quot; (stato 1). Il blocco lasciato da un processo terminato non ferma i lavori successivi. Le memorie rimovibili sono le cartelle di /media/&lt;utente&gt; o /run/media/&lt;utente&gt; (/Volumes su macOS), o della cartella indicata dalla variabile d&apos;ambiente ORVALO3_VOLUMES_DIR, e i dischi rimovibili montati altrove. --eject le smonta e le spegne con udisksctl (diskutil su macOS); senza questi programmi vanno espulse dal desktop.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CliHost</name>
    <message>
        <source>Lettura</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sincronizzazione</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aggiornamento</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trasferimento</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aggiornamento database</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>manca il comando</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>comando sconosciuto: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COMANDO [OPZIONE]... ARGOMENTO...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opzione sconosciuta: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opzione data due volte: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l&apos;opzione %1 non vuole un valore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l&apos;opzione %1 vuole un valore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>index vuole rebuild, update o check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>index %1 vuole una sola memoria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>list vuole una sola memoria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--by vuole title o artist, non &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-o vuole un nome di file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nessun file di song indicato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>manca l&apos;opzione %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--replace e --keep si escludono a vicenda</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--memory vuole una cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nessun dato da scrivere: indicare almeno una tra --title, --artist, --genre, --author, --length, --bpm e --key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>durata non valida: &quot;%1&quot; (mm:ss, fino a due cifre per parte)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tempo non valido: &quot;%1&quot; (fino a tre cifre)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tonalità sconosciuta: &quot;%1&quot; (una di: %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--eject vale solo con rebuild e update</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
